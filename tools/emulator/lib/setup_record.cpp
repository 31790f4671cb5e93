// SPDX-License-Identifier: MIT
#include "setup_record.h"

#include <algorithm>
#include <cstdio>

#include "logger_memory_builder.h"

namespace kr820::emulator {
namespace {

constexpr std::size_t kSetCountDigits = 4;
constexpr std::size_t kPointerDigits = 6;

void Put(std::string* record, std::size_t offset, std::string_view bytes) {
    record->replace(offset, bytes.size(), bytes);
}

void PutDateTime(std::string* record, std::size_t offset, const StartTime& at) {
    for (const int field : {at.year - 2000, at.month, at.day, at.hour, at.minute, at.second})
        (*record)[offset++] = static_cast<char>(ToBcd(field));
}

// "%X" followed by zeros, within `width` bytes of which the last stays zero.
void PutHexText(std::string* record, std::size_t offset, std::size_t width, std::uint32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%X", static_cast<unsigned>(value));
    std::string field(text);
    field.resize(width, '\0');
    Put(record, offset, field);
}

}  // namespace

std::string DefaultSetupRecord() {
    std::string record(kSetupRecordBytes, '\0');
    record[0] = 0x02;
    PutDateTime(&record, 1, {2024, 3, 14, 9, 0, 0});   // print start
    PutDateTime(&record, 7, {2024, 3, 14, 17, 0, 0});  // print stop
    record[13] = 2;                                    // print interval code
    record[14] = 2;                                    // graph inch index
    Put(&record, 15, HexField(0));                     // low limit; byte 19 ends it
    record[20] = 2;                                    // scale width index
    PutDateTime(&record, 21, {2024, 3, 15, 8, 0, 0});  // record start
    PutDateTime(&record, 27, {2024, 3, 16, 8, 0, 0});  // record stop
    record[33] = 0;                                    // record interval index
    record[kSetupAutoPowerOffAt] = 1;
    record[35] = 0;                     // alarm on
    Put(&record, 36, HexField(24980));  // alarm upper, tenths; byte 40 ends it
    Put(&record, 41, HexField(-3280));  // alarm lower; byte 45 ends it
    record[46] = 1;                     // graph printing
    record[kSetupThermocoupleAt] = static_cast<char>(kSetupTypeK);
    PutMemoryTexts(&record, 0, 0);
    return record;
}

std::string HexField(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%4X", static_cast<std::uint32_t>(value));
    const std::string printed(text);
    return printed.substr(printed.size() - 4);
}

void PutMemoryTexts(std::string* record, std::size_t setCount, std::uint32_t pointer) {
    PutHexText(record, kSetupSetCountAt, kSetCountDigits + 1,
               static_cast<std::uint32_t>(std::min<std::size_t>(setCount, 0xFFFF)));
    PutHexText(record, kSetupPointerAt, kPointerDigits + 1,
               std::min<std::uint32_t>(pointer, 0xFFFFFF));
}

std::uint32_t MemoryPointerFor(std::size_t recordedBytes) {
    return recordedBytes == 0 ? 0 : EndAddressFor(recordedBytes) + 1;
}

}  // namespace kr820::emulator
