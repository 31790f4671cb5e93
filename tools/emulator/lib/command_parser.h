// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace kr820::emulator {

// Cuts command frames out of the bytes the meter receives. Anything that is not a whole, known,
// correctly summed frame costs one byte and the scan goes on from the next, so junk, a bad
// checksum or a lost ETX never hide the frame behind them.
class CommandParser {
public:
    // Appends the bytes and returns the bodies of the frames they complete, in order.
    std::vector<std::string> Feed(std::string_view bytes);
    // The same, but whole frames (STX to ETX) exactly as they came.
    std::vector<std::string> FeedFrames(std::string_view bytes);

    // The line went quiet with a frame still incomplete: it will never finish, so drop it and
    // return any whole frames that were waiting behind it.
    std::vector<std::string> AbandonPending();
    std::vector<std::string> AbandonPendingFrames();

    bool HasPending() const { return !m_pending.empty(); }
    std::size_t DroppedBytes() const { return m_droppedBytes; }

private:
    void Scan(std::vector<std::string>* frames);

    std::string m_pending;
    std::size_t m_droppedBytes = 0;
};

}  // namespace kr820::emulator
