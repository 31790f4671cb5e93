// SPDX-License-Identifier: MIT
#include "slave_line.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace kr820::emulator::testing {

SlaveLine::SlaveLine(const std::string& path)
    : m_fd(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC)) {}

SlaveLine::~SlaveLine() { Close(); }

void SlaveLine::Close() {
    if (m_fd >= 0) close(m_fd);
    m_fd = -1;
}

bool SlaveLine::Write(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = write(m_fd, bytes.data(), bytes.size());
        if (written < 0 && errno != EINTR) return false;
        if (written > 0) bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

std::string SlaveLine::Read(std::size_t count, std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    std::string bytes;
    while (bytes.size() < count) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) break;
        pollfd request{m_fd, POLLIN, 0};
        if (poll(&request, 1, static_cast<int>(left.count())) <= 0) continue;
        char buffer[256];
        const ssize_t got = read(m_fd, buffer, std::min(sizeof buffer, count - bytes.size()));
        if (got > 0) bytes.append(buffer, static_cast<std::size_t>(got));
    }
    return bytes;
}

std::string SlaveLine::ReadOnce(std::chrono::milliseconds limit) {
    pollfd request{m_fd, POLLIN, 0};
    if (poll(&request, 1, static_cast<int>(limit.count())) <= 0) return {};
    char buffer[256];
    const ssize_t got = read(m_fd, buffer, sizeof buffer);
    return got > 0 ? std::string(buffer, static_cast<std::size_t>(got)) : std::string{};
}

bool SlaveLine::WaitForHangUp(std::chrono::milliseconds limit) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + limit;
    for (;;) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        if (left.count() <= 0) return false;
        pollfd request{m_fd, POLLIN, 0};
        if (poll(&request, 1, static_cast<int>(left.count())) <= 0) continue;
        if ((request.revents & (POLLHUP | POLLERR)) != 0) return true;
        char buffer[256];
        const ssize_t got = read(m_fd, buffer, sizeof buffer);
        if (got == 0 || (got < 0 && errno == EIO)) return true;
    }
}

}  // namespace kr820::emulator::testing
