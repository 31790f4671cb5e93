// SPDX-License-Identifier: MIT
#include "core/files/format_tokens.h"

namespace kr820::core {

std::optional<std::vector<FormatToken>> TokenizeFormat(const QString& format) {
    std::vector<FormatToken> tokens;
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            const qsizetype close = format.indexOf(u'\'', i + 1);
            if (close < 0) return std::nullopt;
            const QString literal =
                close == i + 1 ? QStringLiteral("'") : format.mid(i + 1, close - i - 1);
            tokens.push_back({QChar(), 0, literal, format.mid(i, close - i + 1)});
            i = close + 1;
            continue;
        }
        qsizetype run = 1;
        while (i + run < format.size() && format[i + run] == c) ++run;
        tokens.push_back({c, run, {}, format.mid(i, run)});
        i += run;
    }
    return tokens;
}

}  // namespace kr820::core
