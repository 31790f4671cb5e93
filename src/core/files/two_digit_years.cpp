// SPDX-License-Identifier: MIT
#include "core/files/two_digit_years.h"

#include <QRegularExpression>
#include <optional>

#include "core/files/format_tokens.h"

namespace kr820::core {
namespace {

// A date format turned into a pattern that finds the two-digit year in a text, and the same
// format with a four-digit year, for Qt to read the text once the year is written out in full.
struct TwoDigitYearFormat {
    QRegularExpression Pattern;
    QString FourDigitFormat;
};

QString SectionPattern(QChar letter, qsizetype count) {
    if (letter == u'y') return count == 2 ? QStringLiteral("(\\d{2})") : QStringLiteral("-?\\d{4}");
    // Day and month numbers; three letters or more are names.
    if (count == 1) return QStringLiteral("\\d{1,2}");
    if (count == 2) return QStringLiteral("\\d{2}");
    return QStringLiteral(".+?");
}

// Empty when the format holds no two-digit year, or more than one year, or a section this reader
// does not know; Qt then reads the text on its own.
std::optional<TwoDigitYearFormat> FindTwoDigitYear(const QString& format) {
    QString pattern;
    QString fourDigits;
    int twoDigitYears = 0;
    int years = 0;
    const std::optional<std::vector<FormatToken>> tokens = TokenizeFormat(format);
    if (!tokens) return std::nullopt;
    for (const FormatToken& token : *tokens) {
        const QChar c = token.character;
        if (token.IsQuoted()) {
            pattern += QRegularExpression::escape(token.literal);
        } else if (c == u'd' || c == u'M' || c == u'y') {
            if (c == u'y') {
                if (token.run != 2 && token.run != 4) return std::nullopt;
                ++years;
                if (token.run == 2) ++twoDigitYears;
                fourDigits += QStringLiteral("yyyy");
                pattern += SectionPattern(c, token.run);
                continue;
            }
            pattern += SectionPattern(c, token.run);
        } else {
            pattern += QRegularExpression::escape(token.source);
        }
        fourDigits += token.source;
    }
    if (twoDigitYears != 1 || years != 1) return std::nullopt;
    return TwoDigitYearFormat{QRegularExpression(QRegularExpression::anchoredPattern(pattern)),
                              fourDigits};
}

}  // namespace

int YearNear(int twoDigits, QDate today) {
    const int first = today.year() - 50;
    return first + ((twoDigits - first) % 100 + 100) % 100;
}

QDate ReadDate(const QString& text, const QString& format, const QLocale& locale, QDate today) {
    const auto twoDigitYear = FindTwoDigitYear(format);
    if (!twoDigitYear) return locale.toDate(text, format);

    const QRegularExpressionMatch match = twoDigitYear->Pattern.match(text);
    if (match.hasMatch()) {
        const int year = YearNear(match.captured(1).toInt(), today);
        QString full = text;
        full.replace(match.capturedStart(1), match.capturedLength(1), QString::number(year));
        return locale.toDate(full, twoDigitYear->FourDigitFormat);
    }
    // Texts the pattern does not foresee (digits of another script, say): Qt reads the year into
    // the 1900s and it is moved into the right century here; 29 February 2000 is lost this way.
    const QDate date = locale.toDate(text, format);
    if (!date.isValid()) return date;
    return QDate(YearNear(date.year() % 100, today), date.month(), date.day());
}

}  // namespace kr820::core
