// SPDX-License-Identifier: MIT
#include "memory_image_builder.h"

#include <cassert>

namespace kr820::core::testing {
namespace {

std::uint8_t ToBcd(int value) { return static_cast<std::uint8_t>((value / 10) << 4 | value % 10); }

void PutText(QByteArray& bytes, qsizetype offset, const QByteArray& text) {
    bytes.replace(offset, text.size(), text);
}

QByteArray RecordBytes(const TestSet& set) {
    QByteArray bytes(16, '\0');
    bytes[0] = static_cast<char>(set.start[0]);
    bytes[1] = static_cast<char>(set.start[1]);
    for (int i = 0; i < 6; ++i) bytes[3 + i] = static_cast<char>(set.when[i]);
    bytes[11] = static_cast<char>(set.rateCode);
    bytes[12] = static_cast<char>(set.flags);
    bytes[14] = static_cast<char>(set.pairs.size() >> 8);
    bytes[15] = static_cast<char>(set.pairs.size() & 0xFF);
    for (const auto& [t1, t2] : set.pairs) {
        for (const int tenths : {t1, t2}) {
            const auto word = static_cast<std::uint16_t>(tenths);  // two's complement
            bytes.append(static_cast<char>(word >> 8)).append(static_cast<char>(word & 0xFF));
        }
    }
    bytes.append(static_cast<char>(set.end[0])).append(static_cast<char>(set.end[1]));
    return bytes;
}

}  // namespace

BcdStamp Stamp(int yy, int month, int day, int hour, int minute, int second) {
    return {ToBcd(yy), ToBcd(month), ToBcd(day), ToBcd(hour), ToBcd(minute), ToBcd(second)};
}

ImageBuilder& ImageBuilder::Add(TestSet set) {
    m_sets.push_back(std::move(set));
    return *this;
}

ImageBuilder& ImageBuilder::CountText(QByteArray text) {
    assert(text.size() <= 5);
    m_countText = std::move(text);
    return *this;
}

ImageBuilder& ImageBuilder::EndAddress(std::uint32_t address) {
    m_endAddress = address;
    return *this;
}

qsizetype ImageBuilder::RecordOffset(int set) const {
    qsizetype offset = 256;
    for (int i = 0; i < set; ++i) offset += 18 + 4 * static_cast<qsizetype>(m_sets[i].pairs.size());
    return offset;
}

qsizetype ImageBuilder::EndOffset(int set) const { return RecordOffset(set + 1) - 1; }

QByteArray ImageBuilder::Build() const {
    QByteArray memory;
    for (const TestSet& set : m_sets) memory += RecordBytes(set);
    // The meter counts memory from address 0x10000 and reports the address of its last byte.
    const std::uint32_t endAddress =
        m_endAddress.value_or(0xFFFF + static_cast<std::uint32_t>(memory.size()));
    memory.append((32 - memory.size() % 32) % 32, '\0');

    QByteArray header(256, '\0');
    PutText(header, 0, QByteArray("\x02HEAD"));
    const QByteArray countText =
        m_countText.value_or(QByteArray::number(qulonglong(m_sets.size()), 16).toUpper())
            .leftJustified(5, ' ');
    PutText(header, 10, countText);
    PutText(header, 15, QByteArray::number(endAddress, 16).toUpper().rightJustified(8, '0'));
    header[25] = 0x03;
    return header + memory;
}

}  // namespace kr820::core::testing
