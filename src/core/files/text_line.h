// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QChar>
#include <QString>
#include <QStringView>
#include <optional>

#include "core/files/regional_formats.h"
#include "core/files/time_text_format.h"
#include "core/time/date_time.h"

namespace kr820::core {

enum class TextSeparator { Tab, Comma };

constexpr QChar SeparatorChar(TextSeparator separator) {
    return separator == TextSeparator::Tab ? QChar(u'\t') : QChar(u',');
}

// The lines of one text file, each a point: date, time, T1 and T2, in UTF-8, ended by CR LF, the
// same bytes as DateText, TimeText and ValueText give. Formatting through the locale costs
// microseconds a field, too much for tens of thousands of lines: the date is formatted once for
// the lines that share it, and times and values are written here wherever that was found, on
// starting, to give the locale's own text (ASCII digits, a one-character decimal separator).
// Each line is written straight into `out`, without a string per field.
class TextLineWriter {
public:
    TextLineWriter(TextSeparator separator, const RegionalFormats& formats);

    void Append(TDateTime x, float t1, float t2, QByteArray& out);

private:
    // A value's text: on the stack where written here, otherwise as the locale writes it.
    struct ValueBytes {
        char Plain[24];
        QByteArray Locale;
        QByteArrayView Bytes;
    };
    void FillValue(float value, ValueBytes& field) const;
    bool WritesValuesLikeTheLocale() const;

    const RegionalFormats& m_formats;
    const char m_separator;
    std::optional<TimeTextFormat> m_timeFormat;
    char m_decimalPoint = 0;  // 0: values are written by the locale
    bool m_hasDate = false;
    QDate m_date;
    QByteArray m_dateText;
};

// A line cut into its fields the way reading takes it: the date up to the first separator, the
// time up to the next, T1 up to the one after, and T2 is the rest of the line. The fields view
// the line, which must outlive them.
struct TextLineFields {
    QStringView Date;
    QStringView Time;
    // Absent when the line has only two separators: it names a time but holds no values.
    std::optional<QStringView> T1;
    QStringView T2;
};
// Empty when the line has fewer than two separators.
std::optional<TextLineFields> SplitTextLine(QStringView line, TextSeparator separator);

}  // namespace kr820::core
