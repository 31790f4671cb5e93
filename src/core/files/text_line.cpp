// SPDX-License-Identifier: MIT
#include "core/files/text_line.h"

#include <cmath>

#include "core/data/limit_values.h"
#include "core/files/text_fields.h"

namespace kr820::core {

namespace {

// Values written the way the locale writes them for a text file: one decimal, rounded half away
// from zero, a hyphen-minus for every value below zero (also one that rounds to zero, but not
// -0). False for the ones only the locale writes: "OL", and no number at all.
bool AppendPlainValue(float value, char decimalPoint, QByteArray& out) {
    if (!std::isfinite(value) || IsShownAsOL(value)) return false;
    // A float has 24 significant bits, so ten times it is exact in a double.
    const auto tenths = static_cast<long long>(std::round(std::fabs(double(value) * 10.0)));
    if (value < 0) out += '-';
    out += QByteArray::number(tenths / 10);
    out += decimalPoint;
    out += char('0' + tenths % 10);
    return true;
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
        QByteArray plain;
        if (!AppendPlainValue(value, m_decimalPoint, plain) ||
            plain != ValueText(value, m_formats).toUtf8())
            return false;
    }
    return true;
}

void TextLineWriter::Append(TDateTime x, float t1, float t2, QByteArray& out) {
    const WallClockParts parts = WallClockOf(x);
    if (!m_hasDate || parts.Date != m_date) {
        m_dateText = DateText(parts.Date, m_formats).toUtf8();
        m_date = parts.Date;
        m_hasDate = true;
    }
    out += m_dateText;
    out += m_separator;
    if (m_timeFormat && m_timeFormat->Writes() && parts.Time.isValid()) {
        m_timeText.clear();
        m_timeFormat->Write(parts.Time, m_timeText);
        out += m_timeText.toUtf8();
    } else {
        out += TimeText(parts.Time, m_formats).toUtf8();
    }
    out += m_separator;
    AppendValue(t1, out);
    out += m_separator;
    AppendValue(t2, out);
    out += "\r\n";
}

void TextLineWriter::AppendValue(float value, QByteArray& out) const {
    if (m_decimalPoint == 0 || !AppendPlainValue(value, m_decimalPoint, out))
        out += ValueText(value, m_formats).toUtf8();
}

std::optional<TextLineFields> SplitTextLine(QStringView line, TextSeparator separator) {
    const QChar sep = SeparatorChar(separator);
    const qsizetype first = line.indexOf(sep);
    if (first < 0) return std::nullopt;
    const qsizetype second = line.indexOf(sep, first + 1);
    if (second < 0) return std::nullopt;
    TextLineFields fields{line.first(first), line.sliced(first + 1, second - first - 1), {}, {}};
    const qsizetype third = line.indexOf(sep, second + 1);
    if (third >= 0) {
        fields.T1 = line.sliced(second + 1, third - second - 1);
        fields.T2 = line.sliced(third + 1);
    }
    return fields;
}

}  // namespace kr820::core
