// SPDX-License-Identifier: MIT
// The meter's 86-byte setup record, laid out byte by byte from the wire layout, independent of
// the application's setup decoder so that a fault there cannot cancel itself out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace kr820::emulator {

inline constexpr std::size_t kSetupRecordBytes = 86;
// Setup addresses the PC may write, one byte each: 0x40 is record byte 1, 0x71 byte 50.
inline constexpr int kFirstSetupAddress = 0x40;
inline constexpr int kLastSetupAddress = 0x71;
constexpr std::size_t SetupOffsetOf(int address) {
    return static_cast<std::size_t>(address - kFirstSetupAddress + 1);
}

// Record bytes the meter keeps in step with the rest of itself.
inline constexpr std::size_t kSetupAutoPowerOffAt = 34;  // 1 auto power-off, 0 always on
inline constexpr std::size_t kSetupThermocoupleAt = 47;
inline constexpr std::uint8_t kSetupTypeK = 1;
inline constexpr std::uint8_t kSetupTypeJ = 2;
inline constexpr std::size_t kSetupClockAt = 61;  // BCD yy mm dd hh nn ss
// Hexadecimal texts, each ended by a zero byte: the data sets recorded, and the address of the
// next free memory byte.
inline constexpr std::size_t kSetupSetCountAt = 70;
inline constexpr std::size_t kSetupPointerAt = 75;

// A plausible meter: type K, auto power-off, alarm on at 2498.0 and -328.0, graph printing,
// record interval index 0, low limit 0. The clock bytes are zero and the memory texts "0": the
// meter fills them in from its clock and its memory.
std::string DefaultSetupRecord();

// The last four characters of C's "%4X" of `value` widened to 32 bits: -220 is "FF24", 120 is
// "  78". Limits and alarms are kept this way.
std::string HexField(std::int32_t value);

// Writes the two memory texts ("%X", then zeros up to the next field); the count is cut to
// four digits and the pointer to six, so that neither runs into the next field.
void PutMemoryTexts(std::string* record, std::size_t setCount, std::uint32_t pointer);

// The pointer for a memory holding this many recorded bytes: the address after the last one;
// 0 for an empty memory, as the meter reports after an erase.
std::uint32_t MemoryPointerFor(std::size_t recordedBytes);

}  // namespace kr820::emulator
