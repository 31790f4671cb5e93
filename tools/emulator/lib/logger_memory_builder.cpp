// SPDX-License-Identifier: MIT
#include "logger_memory_builder.h"

#include <cstdio>

namespace kr820::emulator {
namespace {

void AppendBigEndian(std::string* out, std::uint16_t value) {
    out->push_back(static_cast<char>(value >> 8));
    out->push_back(static_cast<char>(value & 0xFF));
}

std::uint8_t Flags(const DataSet& set) {
    std::uint8_t flags = 0;
    if (set.unit == TemperatureUnit::kFahrenheit) flags |= kFlagFahrenheit;
    if (set.type == Thermocouple::kJ) flags |= kFlagTypeJ;
    return flags;
}

}  // namespace

std::uint8_t ToBcd(int value) {
    const int twoDigits = ((value % 100) + 100) % 100;
    return static_cast<std::uint8_t>((twoDigits / 10) << 4 | twoDigits % 10);
}

std::string EncodeRecord(const DataSet& set) {
    std::string record;
    record.reserve(kRecordOverheadBytes + 4 * set.pairs.size());
    record += "\xA5\x5A";
    record.push_back(0);
    for (const int field : {set.start.year - 2000, set.start.month, set.start.day, set.start.hour,
                            set.start.minute, set.start.second}) {
        record.push_back(static_cast<char>(ToBcd(field)));
    }
    record.append(2, '\0');
    record.push_back(static_cast<char>(set.rateCode));
    record.push_back(static_cast<char>(Flags(set)));
    record.push_back(0);
    AppendBigEndian(&record, static_cast<std::uint16_t>(set.pairs.size()));
    for (const SamplePair& pair : set.pairs) {
        // Two's complement on the wire: the cast keeps the bits.
        AppendBigEndian(&record, static_cast<std::uint16_t>(pair.t1TenthsC));
        AppendBigEndian(&record, static_cast<std::uint16_t>(pair.t2TenthsC));
    }
    record += "\x5A\xA5";
    return record;
}

std::uint32_t EndAddressFor(std::size_t memoryBytes) {
    return kEmptyEndAddress + static_cast<std::uint32_t>(memoryBytes);
}

std::string EncodeHeaderReply(std::size_t setCount, std::uint32_t endAddress) {
    char text[kHeaderReplyBytes + 1];
    std::snprintf(text, sizeof text, "\x02HEAD     %4X %08X  \x03",
                  static_cast<unsigned>(setCount & 0xFFFF), static_cast<unsigned>(endAddress));
    return std::string(text, kHeaderReplyBytes);
}

std::string BuildMemoryImage(const std::vector<DataSet>& sets) {
    std::string records;
    for (const DataSet& set : sets) records += EncodeRecord(set);
    std::string image = EncodeHeaderReply(sets.size(), EndAddressFor(records.size()));
    image.resize(kImageHeaderBytes, '\0');
    return image + records;
}

}  // namespace kr820::emulator
