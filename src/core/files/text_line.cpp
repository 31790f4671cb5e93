// SPDX-License-Identifier: MIT
#include "core/files/text_line.h"

#include <algorithm>
#include <cmath>

#include "core/data/limit_values.h"
#include "core/files/text_fields.h"

namespace kr820::core {

namespace {

// Values written the way the locale writes them for a text file: one decimal, rounded half away
// from zero, a hyphen-minus for every value below zero (also one that rounds to zero, but not
// -0). Null for the ones only the locale writes: "OL", and no number at all. At most 8 bytes,
// the values being under the OL limit.
char* WritePlainValue(float value, char decimalPoint, char* out) {
    if (!std::isfinite(value) || IsShownAsOL(value)) return nullptr;
    // A float has 24 significant bits, so ten times it is exact in a double.
    const auto tenths = static_cast<long long>(std::round(std::fabs(double(value) * 10.0)));
    if (value < 0) *out++ = '-';
    char digits[20];
    char* digit = digits + sizeof digits;
    for (long long whole = tenths / 10; digit == digits + sizeof digits || whole > 0; whole /= 10)
        *--digit = static_cast<char>('0' + whole % 10);
    out = std::copy(digit, digits + sizeof digits, out);
    *out++ = decimalPoint;
    *out++ = static_cast<char>('0' + tenths % 10);
    return out;
}

char* WriteBytes(QByteArrayView bytes, char* out) {
    return std::copy(bytes.begin(), bytes.end(), out);
}

}  // namespace

TextLineWriter::TextLineWriter(TextSeparator separator, const RegionalFormats& formats)
    : m_formats(formats),
      m_separator(static_cast<char>(SeparatorChar(separator).unicode())),
      m_timeFormat(TimeTextFormat::Compile(formats.LongTime, formats.Locale)) {
    const QString decimalPoint = formats.Locale.decimalPoint();
    if (decimalPoint.size() == 1 && decimalPoint[0].unicode() < 0x80 &&
        formats.Locale.zeroDigit() == QStringLiteral("0")) {
        m_decimalPoint = static_cast<char>(decimalPoint[0].unicode());
        if (!WritesValuesLikeTheLocale()) m_decimalPoint = 0;
    }
}

bool TextLineWriter::WritesValuesLikeTheLocale() const {
    for (const float value : {0.0f, -0.0f, 0.04f, -0.04f, 0.05f, -0.05f, 0.25f, -7.75f, 12.34f,
                              99.95f, -200.0f, 1234.5f, 2999.95f, 3000.0f, -3000.0f}) {
        char plain[24];
        const char* end = WritePlainValue(value, m_decimalPoint, plain);
        if (end == nullptr ||
            QByteArrayView(plain, end - plain) != ValueText(value, m_formats).toUtf8())
            return false;
    }
    return true;
}

void TextLineWriter::FillValue(float value, ValueBytes& field) const {
    if (m_decimalPoint != 0) {
        if (const char* end = WritePlainValue(value, m_decimalPoint, field.Plain)) {
            field.Bytes = QByteArrayView(field.Plain, end - field.Plain);
            return;
        }
    }
    field.Locale = ValueText(value, m_formats).toUtf8();
    field.Bytes = field.Locale;
}

void TextLineWriter::Append(TDateTime x, float t1, float t2, QByteArray& out) {
    const WallClockParts parts = WallClockOf(x);
    if (!m_hasDate || parts.Date != m_date) {
        m_dateText = DateText(parts.Date, m_formats).toUtf8();
        m_date = parts.Date;
        m_hasDate = true;
    }
    const bool timeHere = m_timeFormat && m_timeFormat->Writes() && parts.Time.isValid();
    const QByteArray localeTime =
        timeHere ? QByteArray() : TimeText(parts.Time, m_formats).toUtf8();
    ValueBytes first;
    ValueBytes second;
    FillValue(t1, first);
    FillValue(t2, second);

    const qsizetype start = out.size();
    out.resize(start + m_dateText.size() +
               (timeHere ? m_timeFormat->MaxBytes() : localeTime.size()) + first.Bytes.size() +
               second.Bytes.size() + 5);
    char* const begin = out.data() + start;
    char* end = WriteBytes(m_dateText, begin);
    *end++ = m_separator;
    end = timeHere ? m_timeFormat->Write(parts.Time, end) : WriteBytes(localeTime, end);
    *end++ = m_separator;
    end = WriteBytes(first.Bytes, end);
    *end++ = m_separator;
    end = WriteBytes(second.Bytes, end);
    *end++ = '\r';
    *end++ = '\n';
    out.truncate(start + (end - begin));
}

std::optional<TextLineFields> SplitTextLine(QStringView line, TextSeparator separator) {
    // One pass for the three separators: the lines are short, and searching for each on its own
    // cost more than the search.
    const char16_t sep = SeparatorChar(separator).unicode();
    qsizetype at[3] = {-1, -1, -1};
    int found = 0;
    for (qsizetype i = 0; i < line.size() && found < 3; ++i)
        if (line[i].unicode() == sep) at[found++] = i;
    if (found < 2) return std::nullopt;
    TextLineFields fields{line.first(at[0]), line.sliced(at[0] + 1, at[1] - at[0] - 1), {}, {}};
    if (found == 3) {
        fields.T1 = line.sliced(at[1] + 1, at[2] - at[1] - 1);
        fields.T2 = line.sliced(at[2] + 1);
    }
    return fields;
}

}  // namespace kr820::core
