// SPDX-License-Identifier: MIT
// Assembles memory images byte by byte from readable values, with its own offsets rather than the
// decoder's constants, so that a wrong offset in the decoder cannot hide behind a shared one.
#pragma once

#include <QByteArray>
#include <array>
#include <cstdint>
#include <utility>
#include <vector>

namespace kr820::core::testing {

using BcdStamp = std::array<std::uint8_t, 6>;

// Two-digit year, month, day, hour, minute, second in BCD; impossible dates are written as given.
inline BcdStamp Stamp(int yy, int mo, int d, int h, int mi, int s) {
    BcdStamp stamp{};
    const int fields[] = {yy, mo, d, h, mi, s};
    for (int i = 0; i < 6; ++i)
        stamp[i] = static_cast<std::uint8_t>(fields[i] / 10 << 4 | fields[i] % 10);
    return stamp;
}

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
    ImageBuilder& Add(const TestSet& set) {
        QByteArray bytes(16, '\0');
        bytes[0] = char(set.start[0]);
        bytes[1] = char(set.start[1]);
        for (int i = 0; i < 6; ++i) bytes[3 + i] = char(set.when[i]);
        bytes[11] = char(set.rateCode);
        bytes[12] = char(set.flags);
        bytes[14] = char(set.pairs.size() >> 8);
        bytes[15] = char(set.pairs.size() & 0xFF);
        for (const auto& [t1, t2] : set.pairs) {
            for (const int tenths : {t1, t2}) {
                bytes.append(char(tenths >> 8)).append(char(tenths & 0xFF));
            }
        }
        m_memory += bytes.append(char(set.end[0])).append(char(set.end[1]));
        ++m_sets;
        return *this;
    }
    // Text at offset 10, up to 5 characters; by default the number of sets in hex.
    ImageBuilder& CountText(const QByteArray& text) {
        m_countText = text;
        return *this;
    }
    // By default the address of the last recorded byte, memory counting from 0x10000.
    ImageBuilder& EndAddress(std::uint32_t address) {
        m_endAddress = address;
        return *this;
    }

    // Image offset of the last byte added so far: the final end marker of the last set.
    qsizetype LastOffset() const { return 256 + m_memory.size() - 1; }

    // Header area, records, then zeros up to whole 32-byte blocks as a download delivers them.
    QByteArray Build() const {
        QByteArray header(256, '\0');
        header.replace(0, 5, "\x02HEAD");
        const QByteArray count =
            m_countText.isNull() ? QByteArray::number(m_sets, 16) : m_countText;
        header.replace(10, 5, count.leftJustified(5, ' '));
        const auto end = m_endAddress ? m_endAddress : 0xFFFF + std::uint32_t(m_memory.size());
        header.replace(15, 8, QByteArray::number(end, 16).toUpper().rightJustified(8, '0'));
        return header + m_memory + QByteArray((32 - m_memory.size() % 32) % 32, '\0');
    }

private:
    QByteArray m_memory;
    int m_sets = 0;
    QByteArray m_countText;
    std::uint32_t m_endAddress = 0;
};

}  // namespace kr820::core::testing
