// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <cstdint>
#include <span>
#include <vector>

namespace kr820::core {

// Appends numbers and texts to a byte block, little-endian whatever the machine.
class LittleEndianWriter {
public:
    explicit LittleEndianWriter(QByteArray& out) : m_out(out) {}

    void U8(std::uint8_t value);
    void U16(std::uint16_t value);
    void U32(std::uint32_t value);
    void I32(std::int32_t value);
    void F32(float value);
    void F64(double value);
    void Bool(bool value) { U8(value ? 1 : 0); }
    // UTF-8, behind its byte count (U32).
    void Text(const QString& text);
    void Raw(QByteArrayView bytes) { m_out.append(bytes); }

    // Whole arrays in one go: a data set's 66,000 values should not cost 66,000 appends.
    void F32Array(std::span<const float> values);
    void F64Array(std::span<const double> values);

private:
    QByteArray& m_out;
};

// Reads what the writer wrote, never past the end of the block. After the first failure (too few
// bytes, or a value the caller rejects through Fail) every read fails, so a decoder can read a
// whole section and test Ok() once.
class LittleEndianReader {
public:
    explicit LittleEndianReader(QByteArrayView in) : m_in(in) {}

    bool U8(std::uint8_t& value);
    bool U16(std::uint16_t& value);
    bool U32(std::uint32_t& value);
    bool I32(std::int32_t& value);
    bool F32(float& value);
    bool F64(double& value);
    // Only 0 and 1 are booleans; anything else is a damaged block.
    bool Bool(bool& value);
    // Refuses a byte count above maxBytes or above what is left.
    bool Text(QString& text, qsizetype maxBytes);
    bool Raw(qsizetype count, QByteArrayView& bytes);

    // `count` values; the count is checked against the bytes left before anything is allocated.
    bool F32Array(qsizetype count, std::vector<float>& values);
    bool F64Array(qsizetype count, std::vector<double>& values);

    // Whether `count` items of at least `minBytesEach` could still follow: a count read from the
    // block is tested with this before it sizes anything.
    bool CanHold(qsizetype count, qsizetype minBytesEach) const;

    qsizetype Remaining() const { return m_failed ? 0 : m_in.size() - m_pos; }
    bool AtEnd() const { return !m_failed && m_pos == m_in.size(); }
    bool Ok() const { return !m_failed; }
    void Fail() { m_failed = true; }

private:
    bool Take(qsizetype count, const char*& bytes);

    QByteArrayView m_in;
    qsizetype m_pos = 0;
    bool m_failed = false;
};

}  // namespace kr820::core
