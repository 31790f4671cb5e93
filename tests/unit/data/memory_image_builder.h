// SPDX-License-Identifier: MIT
// Assembles memory images byte by byte from readable values, independently of the decoder's own
// layout constants, so that a wrong offset in the decoder cannot hide behind a shared one.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <optional>
#include <utility>
#include <vector>

namespace kr820::core::testing {

using BcdStamp = std::array<std::uint8_t, 6>;

// Year (two digits), month, day, hour, minute, second as the meter's BCD bytes; no validity check,
// so impossible dates can be written too.
BcdStamp Stamp(int yy, int month, int day, int hour, int minute, int second);

struct TestSet {
    BcdStamp when = Stamp(24, 5, 17, 10, 0, 0);
    std::uint8_t rateCode = 0;
    std::uint8_t flags = 0;                  // 0x40 Fahrenheit, 0x01/0x02 type J
    std::vector<std::pair<int, int>> pairs;  // T1, T2 in tenths of a degree Celsius
    std::array<std::uint8_t, 2> start = {0xA5, 0x5A};
    std::array<std::uint8_t, 2> end = {0x5A, 0xA5};
};

class ImageBuilder {
public:
    ImageBuilder& Add(TestSet set);
    // Up to 5 characters at offset 10; by default the set count as 4 hex digits and a blank.
    ImageBuilder& CountText(QByteArray text);
    // By default the address a meter reports when its memory ends with the last record.
    ImageBuilder& EndAddress(std::uint32_t address);

    // Image offset of a set's record and of its final end marker.
    qsizetype RecordOffset(int set) const;
    qsizetype EndOffset(int set) const;

    // Header area, records, then zero padding to whole 32-byte blocks as a download delivers.
    QByteArray Build() const;

private:
    std::vector<TestSet> m_sets;
    std::optional<QByteArray> m_countText;
    std::optional<std::uint32_t> m_endAddress;
};

}  // namespace kr820::core::testing
