// SPDX-License-Identifier: MIT
// The logger memory written the way the meter lays it out, from a plain list of data sets. The
// application decodes what this writes, so it is built from the layout alone, never from the
// application's own code.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kr820::emulator {

inline constexpr std::size_t kHeaderReplyBytes = 26;
inline constexpr std::size_t kImageHeaderBytes = 256;  // the header reply, then zeros
// The memory starts at address 0x10000 and the meter reports the address of its last recorded
// byte, so an empty memory reports the address just below the start.
inline constexpr std::uint32_t kEmptyEndAddress = 0xFFFF;
inline constexpr std::size_t kRecordOverheadBytes = 18;  // markers, date, rate, flags, count

// Out-of-range samples as the meter records them: the ends of the 16-bit field.
inline constexpr std::int16_t kOverRangeTenthsC = 32767;
inline constexpr std::int16_t kUnderRangeTenthsC = -32768;

enum class Thermocouple : std::uint8_t { kK, kJ };
enum class TemperatureUnit : std::uint8_t { kCelsius, kFahrenheit };

// Written as BCD without checking the calendar, so a set can carry an impossible date such as
// 31 February. Years 2000 to 2099; every field is taken modulo 100.
struct StartTime {
    int year = 2024;
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// Tenths of a degree Celsius whatever the set's unit: the PC converts.
struct SamplePair {
    std::int16_t t1TenthsC = 0;
    std::int16_t t2TenthsC = 0;
};

struct DataSet {
    StartTime start;
    std::uint8_t rateCode = 0;  // 0..13 on a real meter; anything goes here
    Thermocouple type = Thermocouple::kK;
    TemperatureUnit unit = TemperatureUnit::kCelsius;
    std::vector<SamplePair> pairs;  // at most 65535
};

// Flags byte bits.
inline constexpr std::uint8_t kFlagFahrenheit = 0x40;
inline constexpr std::uint8_t kFlagTypeJ = 0x01;

std::uint8_t ToBcd(int value);  // value modulo 100, high nibble the tens

// A5 5A, unused, BCD yy mm dd hh nn ss, 2 unused, rate, flags, unused, pair count (big-endian),
// the pairs (T1 then T2, big-endian two's complement), 5A A5. Unused bytes are zero.
std::string EncodeRecord(const DataSet& set);

// The address the meter reports for a memory holding this many recorded bytes.
std::uint32_t EndAddressFor(std::size_t memoryBytes);

// 02 "HEAD", five blanks, the set count as "%4X" (bytes 10-13), a blank, the end address as
// "%08X" (bytes 15-22), two blanks, ETX. The set count is taken modulo 0x10000 so that it never
// runs into the address.
std::string EncodeHeaderReply(std::size_t setCount, std::uint32_t endAddress);

// The memory as a collection file holds it: the header reply and zeros up to byte 256, then the
// records one after the other, with nothing after the last one.
std::string BuildMemoryImage(const std::vector<DataSet>& sets);

}  // namespace kr820::emulator
