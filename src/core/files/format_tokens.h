// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>
#include <vector>

namespace kr820::core {

// One piece of a Qt date or time format: a run of one repeated character ("yyyy", "HH", ":"),
// or quoted literal text ('' stands for one quote, inside quotes or out).
struct FormatToken {
    QChar character;  // the repeated character; null for quoted text
    qsizetype run = 0;
    QString literal;  // quoted text, without its quotes
    QString source;   // the token as it stands in the format, quotes included

    bool IsQuoted() const { return character.isNull(); }
};

// The tokens of `format` in order; empty when a quote is never closed.
std::optional<std::vector<FormatToken>> TokenizeFormat(const QString& format);

}  // namespace kr820::core
