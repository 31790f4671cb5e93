// SPDX-License-Identifier: MIT
// The application's end of the emulator's pseudo-terminal, opened with plain POSIX calls and
// left in whatever mode the emulator set, so the tests see what a fresh open sees.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>

namespace kr820::emulator::testing {

class SlaveLine {
public:
    explicit SlaveLine(const std::string& path);
    ~SlaveLine();
    SlaveLine(const SlaveLine&) = delete;
    SlaveLine& operator=(const SlaveLine&) = delete;

    bool IsOpen() const { return m_fd >= 0; }
    int Fd() const { return m_fd; }
    bool Write(std::string_view bytes);
    // Reads until `count` bytes have come or `limit` has passed; never waits longer.
    std::string Read(std::size_t count, std::chrono::milliseconds limit);
    // Everything that arrives within `limit`.
    std::string ReadAll(std::chrono::milliseconds limit) { return Read(SIZE_MAX, limit); }
    // What one read returns once bytes are there, to see how they were cut; empty after `limit`.
    std::string ReadOnce(std::chrono::milliseconds limit);
    // True once the other end has gone (hang-up, end of file or EIO) within `limit`.
    bool WaitForHangUp(std::chrono::milliseconds limit);
    void Close();

private:
    int m_fd = -1;
};

}  // namespace kr820::emulator::testing
