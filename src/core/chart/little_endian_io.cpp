// SPDX-License-Identifier: MIT
#include "core/chart/little_endian_io.h"

#include <QtEndian>
#include <bit>
#include <cstring>

namespace kr820::core {
namespace {

template <typename Unsigned>
void AppendLittleEndian(QByteArray& out, Unsigned value) {
    char bytes[sizeof(Unsigned)];
    qToLittleEndian(value, bytes);
    out.append(bytes, sizeof(Unsigned));
}

template <typename Value, typename Unsigned>
void AppendArray(QByteArray& out, std::span<const Value> values) {
    static_assert(sizeof(Value) == sizeof(Unsigned));
    if constexpr (std::endian::native == std::endian::little) {
        out.append(reinterpret_cast<const char*>(values.data()),
                   static_cast<qsizetype>(values.size_bytes()));
    } else {
        for (Value v : values) AppendLittleEndian(out, std::bit_cast<Unsigned>(v));
    }
}

template <typename Value, typename Unsigned>
void CopyArray(const char* bytes, qsizetype count, std::vector<Value>& values) {
    static_assert(sizeof(Value) == sizeof(Unsigned));
    values.resize(count);
    if (count == 0) return;  // an empty vector's data() may be null, which memcpy must not get
    if constexpr (std::endian::native == std::endian::little) {
        std::memcpy(values.data(), bytes, count * sizeof(Value));
    } else {
        for (qsizetype i = 0; i < count; ++i) {
            values[i] =
                std::bit_cast<Value>(qFromLittleEndian<Unsigned>(bytes + i * sizeof(Value)));
        }
    }
}

}  // namespace

void LittleEndianWriter::U8(std::uint8_t value) { m_out.append(static_cast<char>(value)); }
void LittleEndianWriter::U16(std::uint16_t value) { AppendLittleEndian(m_out, value); }
void LittleEndianWriter::U32(std::uint32_t value) { AppendLittleEndian(m_out, value); }
void LittleEndianWriter::I32(std::int32_t value) { U32(static_cast<std::uint32_t>(value)); }
void LittleEndianWriter::F32(float value) { U32(std::bit_cast<std::uint32_t>(value)); }
void LittleEndianWriter::F64(double value) {
    AppendLittleEndian(m_out, std::bit_cast<std::uint64_t>(value));
}

void LittleEndianWriter::Text(const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    U32(static_cast<std::uint32_t>(utf8.size()));
    m_out.append(utf8);
}

void LittleEndianWriter::F32Array(std::span<const float> values) {
    AppendArray<float, std::uint32_t>(m_out, values);
}

void LittleEndianWriter::F64Array(std::span<const double> values) {
    AppendArray<double, std::uint64_t>(m_out, values);
}

bool LittleEndianReader::Take(qsizetype count, const char*& bytes) {
    if (m_failed || count < 0 || count > m_in.size() - m_pos) {
        m_failed = true;
        return false;
    }
    bytes = m_in.data() + m_pos;
    m_pos += count;
    return true;
}

bool LittleEndianReader::U8(std::uint8_t& value) {
    const char* bytes = nullptr;
    if (!Take(1, bytes)) return false;
    value = static_cast<std::uint8_t>(bytes[0]);
    return true;
}

bool LittleEndianReader::U16(std::uint16_t& value) {
    const char* bytes = nullptr;
    if (!Take(2, bytes)) return false;
    value = qFromLittleEndian<std::uint16_t>(bytes);
    return true;
}

bool LittleEndianReader::U32(std::uint32_t& value) {
    const char* bytes = nullptr;
    if (!Take(4, bytes)) return false;
    value = qFromLittleEndian<std::uint32_t>(bytes);
    return true;
}

bool LittleEndianReader::I32(std::int32_t& value) {
    std::uint32_t raw = 0;
    if (!U32(raw)) return false;
    value = static_cast<std::int32_t>(raw);
    return true;
}

bool LittleEndianReader::F32(float& value) {
    std::uint32_t raw = 0;
    if (!U32(raw)) return false;
    value = std::bit_cast<float>(raw);
    return true;
}

bool LittleEndianReader::F64(double& value) {
    const char* bytes = nullptr;
    if (!Take(8, bytes)) return false;
    value = std::bit_cast<double>(qFromLittleEndian<std::uint64_t>(bytes));
    return true;
}

bool LittleEndianReader::Bool(bool& value) {
    std::uint8_t raw = 0;
    if (!U8(raw)) return false;
    if (raw > 1) {
        Fail();
        return false;
    }
    value = raw == 1;
    return true;
}

bool LittleEndianReader::Text(QString& text, qsizetype maxBytes) {
    std::uint32_t size = 0;
    if (!U32(size)) return false;
    if (size > static_cast<std::uint64_t>(maxBytes)) {
        Fail();
        return false;
    }
    const char* bytes = nullptr;
    if (!Take(static_cast<qsizetype>(size), bytes)) return false;
    text = QString::fromUtf8(bytes, static_cast<qsizetype>(size));
    return true;
}

bool LittleEndianReader::Raw(qsizetype count, QByteArrayView& bytes) {
    const char* data = nullptr;
    if (!Take(count, data)) return false;
    bytes = QByteArrayView(data, count);
    return true;
}

bool LittleEndianReader::CanHold(qsizetype count, qsizetype minBytesEach) const {
    return !m_failed && count >= 0 && minBytesEach > 0 && count <= Remaining() / minBytesEach;
}

bool LittleEndianReader::F32Array(qsizetype count, std::vector<float>& values) {
    const char* bytes = nullptr;
    if (!CanHold(count, sizeof(float)) || !Take(count * qsizetype{sizeof(float)}, bytes)) {
        m_failed = true;
        return false;
    }
    CopyArray<float, std::uint32_t>(bytes, count, values);
    return true;
}

bool LittleEndianReader::F64Array(qsizetype count, std::vector<double>& values) {
    const char* bytes = nullptr;
    if (!CanHold(count, sizeof(double)) || !Take(count * qsizetype{sizeof(double)}, bytes)) {
        m_failed = true;
        return false;
    }
    CopyArray<double, std::uint64_t>(bytes, count, values);
    return true;
}

}  // namespace kr820::core
