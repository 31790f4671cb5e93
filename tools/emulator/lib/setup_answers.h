// SPDX-License-Identifier: MIT
// The meter's side of the setup commands: the record it keeps and answers "O" with, the setup
// bytes the PC writes one by one, and its clock. No I/O here: each command in, the bytes to
// answer out.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "meter_clock.h"

namespace kr820::emulator {

// A setup write's frame: STX, "wE", address "%6.d", 0, value "%3.d", 0, checksum, ETX.
inline constexpr std::size_t kWriteSetupFrameBytes = 16;
// A clock frame: STX, "WRTC", yymmddhhnnss, checksum, ETX. The PC compares its echo from
// byte 3 on.
inline constexpr std::size_t kSetClockFrameBytes = 19;
inline constexpr std::size_t kClockEchoComparedFrom = 3;

struct SetupFaults {
    bool longRecordReply = false;  // the record goes out with one byte more than its 86
    // Every setup write's echo differs from its frame at this byte (0..15); the meter still
    // stores the byte, as when the echo is damaged on its way back.
    std::optional<std::size_t> writeEchoWrongAt;
    // Writes to this setup address and above are neither stored nor echoed.
    std::optional<int> refuseWritesFrom;
    // The clock's echo differs from its frame in bytes 0 to 2 only; the clock is still set.
    bool clockEchoWrongStart = false;

    bool operator==(const SetupFaults&) const = default;
};

class SetupAnswers {
public:
    SetupAnswers();  // DefaultSetupRecord, the clock at the computer's local time

    // Each returns what the meter sends back; empty for nothing. A write or a clock frame the
    // meter cannot make sense of (an address outside 0x40..0x71, a number not printed as the
    // meter prints it, a clock digit outside 0x30..0x3F) is neither acted on nor echoed.
    std::string OnReadSetup(std::chrono::milliseconds now) const;
    std::string OnWriteSetup(std::string_view body);
    std::string OnSetClock(std::string_view body, std::chrono::milliseconds now);

    // The record as the meter keeps it, the clock's bytes as they read at `now`.
    std::string Record(std::chrono::milliseconds now) const;
    // Kept byte for byte; the clock restarts from bytes 61 to 66. Shorter records are filled up
    // with zeros and longer ones cut to kSetupRecordBytes.
    void SetRecord(std::string record, std::chrono::milliseconds now);
    std::uint8_t Byte(std::size_t offset) const;
    void SetByte(std::size_t offset, std::uint8_t value);
    void SetMemoryTexts(std::size_t setCount, std::uint32_t pointer);

    SetupFaults& Faults() { return m_faults; }
    const SetupFaults& Faults() const { return m_faults; }

private:
    std::string m_record;  // bytes 61 to 66 are the clock's, read from m_clock
    MeterClock m_clock;
    SetupFaults m_faults;
};

}  // namespace kr820::emulator
