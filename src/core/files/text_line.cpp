// SPDX-License-Identifier: MIT
#include "core/files/text_line.h"

#include "core/files/text_fields.h"

namespace kr820::core {

QString TextLine(TDateTime x, float t1, float t2, TextSeparator separator,
                 const RegionalFormats& formats) {
    const QChar sep = SeparatorChar(separator);
    return DateText(x, formats) + sep + TimeText(x, formats) + sep + ValueText(t1, formats) + sep +
           ValueText(t2, formats);
}

std::optional<TextLineFields> SplitTextLine(const QString& line, TextSeparator separator) {
    const QChar sep = SeparatorChar(separator);
    const qsizetype first = line.indexOf(sep);
    if (first < 0) return std::nullopt;
    const qsizetype second = line.indexOf(sep, first + 1);
    if (second < 0) return std::nullopt;
    TextLineFields fields{line.left(first), line.mid(first + 1, second - first - 1), {}, {}};
    const qsizetype third = line.indexOf(sep, second + 1);
    if (third >= 0) {
        fields.T1 = line.mid(second + 1, third - second - 1);
        fields.T2 = line.mid(third + 1);
    }
    return fields;
}

}  // namespace kr820::core
