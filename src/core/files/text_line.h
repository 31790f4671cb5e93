// SPDX-License-Identifier: MIT
#pragma once

#include <QChar>
#include <QString>
#include <optional>

#include "core/files/regional_formats.h"
#include "core/time/date_time.h"

namespace kr820::core {

enum class TextSeparator { Tab, Comma };

constexpr QChar SeparatorChar(TextSeparator separator) {
    return separator == TextSeparator::Tab ? QChar(u'\t') : QChar(u',');
}

// One point as a line of a text file, without its line end: date, time, T1, T2.
QString TextLine(TDateTime x, float t1, float t2, TextSeparator separator,
                 const RegionalFormats& formats);

// A line cut into its fields the way reading takes it: the date up to the first separator, the
// time up to the next, T1 up to the one after, and T2 is the rest of the line.
struct TextLineFields {
    QString Date;
    QString Time;
    // Absent when the line has only two separators: it names a time but holds no values.
    std::optional<QString> T1;
    QString T2;
};
// Empty when the line has fewer than two separators.
std::optional<TextLineFields> SplitTextLine(const QString& line, TextSeparator separator);

}  // namespace kr820::core
