// SPDX-License-Identifier: MIT
#include "core/files/regional_formats.h"

namespace kr820::core {

QString WithoutTimeZone(const QString& format) {
    QString kept;
    bool quoted = false;
    for (const QChar c : format) {
        if (c == u'\'') quoted = !quoted;
        if (quoted || c != u't') {
            kept += c;
            continue;
        }
        while (!kept.isEmpty() && kept.back().isSpace()) kept.chop(1);
    }
    // Some locales wrap the zone in brackets: "H:mm:ss (t)".
    kept.replace(QStringLiteral("()"), QString());
    return kept.trimmed();
}

RegionalFormats RegionalFormats::FromLocale(const QLocale& locale, QDate today) {
    QLocale numbers = locale;
    // A group separator would be a field separator in some files and a misread value in others.
    numbers.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    return {.Locale = numbers,
            .ShortDate = locale.dateFormat(QLocale::ShortFormat),
            .LongTime = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat)),
            .DecimalSeparator = locale.decimalPoint(),
            .Today = today};
}

}  // namespace kr820::core
