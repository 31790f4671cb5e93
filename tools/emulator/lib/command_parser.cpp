// SPDX-License-Identifier: MIT
#include "command_parser.h"

#include <cstdint>

#include "command_frame.h"

namespace kr820::emulator {
namespace {

enum class Candidate { kFrame, kIncomplete, kInvalid };

// Judges the bytes starting at `at`; on kFrame, *bodyBytes holds the body length.
Candidate JudgeAt(std::string_view bytes, std::size_t at, std::size_t* bodyBytes) {
    if (bytes[at] != kStx) return Candidate::kInvalid;
    if (bytes.size() - at < 2) return Candidate::kIncomplete;
    const auto length = CommandBodyLength(static_cast<std::uint8_t>(bytes[at + 1]));
    if (!length) return Candidate::kInvalid;
    if (bytes.size() - at < *length + 3) return Candidate::kIncomplete;
    const std::string_view body = bytes.substr(at + 1, *length);
    const auto checksum = static_cast<std::uint8_t>(bytes[at + 1 + *length]);
    if (checksum != CommandChecksum(body) || bytes[at + 2 + *length] != kEtx) {
        return Candidate::kInvalid;
    }
    *bodyBytes = *length;
    return Candidate::kFrame;
}

// A whole frame's body: between STX and the checksum.
std::vector<std::string> BodiesOf(std::vector<std::string> frames) {
    for (std::string& frame : frames) frame = frame.substr(1, frame.size() - 3);
    return frames;
}

}  // namespace

std::vector<std::string> CommandParser::Feed(std::string_view bytes) {
    return BodiesOf(FeedFrames(bytes));
}

std::vector<std::string> CommandParser::FeedFrames(std::string_view bytes) {
    m_pending.append(bytes);
    std::vector<std::string> frames;
    Scan(&frames);
    return frames;
}

std::vector<std::string> CommandParser::AbandonPending() {
    return BodiesOf(AbandonPendingFrames());
}

std::vector<std::string> CommandParser::AbandonPendingFrames() {
    std::vector<std::string> frames;
    while (!m_pending.empty()) {
        m_pending.erase(0, 1);
        ++m_droppedBytes;
        Scan(&frames);
    }
    return frames;
}

void CommandParser::Scan(std::vector<std::string>* frames) {
    const std::string_view bytes = m_pending;
    std::size_t at = 0;
    while (at < bytes.size()) {
        std::size_t bodyBytes = 0;
        const Candidate candidate = JudgeAt(bytes, at, &bodyBytes);
        if (candidate == Candidate::kIncomplete) break;
        if (candidate == Candidate::kInvalid) {
            ++at;
            ++m_droppedBytes;
            continue;
        }
        frames->emplace_back(bytes.substr(at, bodyBytes + 3));
        at += bodyBytes + 3;
    }
    m_pending.erase(0, at);
}

}  // namespace kr820::emulator
