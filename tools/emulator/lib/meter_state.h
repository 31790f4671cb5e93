// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace kr820::emulator {

// One channel as the meter keeps it: every temperature in tenths of a degree Celsius, whatever
// unit the display shows (the PC converts).
struct ChannelState {
    std::int16_t tenthsC = 253;
    std::int16_t relTenthsC = 0;
    std::int16_t minTenthsC = 200;
    std::int16_t maxTenthsC = 300;
    std::uint8_t invalid = 0;  // non-zero: no valid value, the LCD shows dashes
};

// Status A bits.
inline constexpr std::uint8_t kStatusAAutoPowerOff = 0x01;
inline constexpr std::uint8_t kStatusARel = 0x02;
inline constexpr std::uint8_t kStatusALowBattery = 0x04;
inline constexpr std::uint8_t kStatusARecBlinking = 0x08;
inline constexpr std::uint8_t kStatusAT1PointBeforeLastTwo = 0x10;
inline constexpr std::uint8_t kStatusAT2PointBeforeLastTwo = 0x20;
inline constexpr std::uint8_t kStatusAPrinter = 0x40;

// Status B bits and fields.
inline constexpr std::uint8_t kStatusBTypeMask = 0x03;  // 1 = J, anything else K
inline constexpr std::uint8_t kStatusBTypeJ = 0x01;
inline constexpr std::uint8_t kStatusBRecording = 0x08;   // REC steady: the meter is logging
inline constexpr std::uint8_t kStatusBModeMask = 0x30;    // display mode
inline constexpr std::uint8_t kStatusBModeMax = 0x10;     //   MAX
inline constexpr std::uint8_t kStatusBModeMin = 0x20;     //   MIN
inline constexpr std::uint8_t kStatusBModeMaxMin = 0x30;  //   MAX and MIN blinking
inline constexpr std::uint8_t kStatusBFahrenheit = 0x40;
inline constexpr std::uint8_t kStatusBT2OnMain = 0x80;

struct MeterState {
    // status A bits: 0 auto power-off, 1 REL, 2 low battery, 3 REC blinking, 4 T1 point before
    // last two digits, 5 same for T2, 6 printer
    std::uint8_t statusA = kStatusAAutoPowerOff;
    // status B bits: 0-1 type (1 = J, else K), 3 REC steady (logging), 4-5 display mode
    // (1 MAX, 2 MIN, 3 MAX+MIN blinking), 6 Fahrenheit, 7 T2 on main display
    std::uint8_t statusB = 0x00;
    ChannelState t1;
    ChannelState t2;
    std::uint8_t spareByte21 = 0;  // sent as it stands; the PC ignores it
};

}  // namespace kr820::emulator
