// SPDX-License-Identifier: MIT
#include "core/files/two_digit_years.h"

#include <QRegularExpression>
#include <optional>

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
    for (qsizetype i = 0; i < format.size();) {
        const QChar c = format[i];
        if (c == u'\'') {
            // Quoted text, where '' stands for one quote, inside quotes or out.
            const qsizetype close = format.indexOf(u'\'', i + 1);
            if (close < 0) return std::nullopt;
            const QString literal =
                close == i + 1 ? QStringLiteral("'") : format.mid(i + 1, close - i - 1);
            pattern += QRegularExpression::escape(literal);
            fourDigits += format.mid(i, close - i + 1);
            i = close + 1;
            continue;
        }
        if (c == u'd' || c == u'M' || c == u'y') {
            qsizetype run = 1;
            while (i + run < format.size() && format[i + run] == c) ++run;
            if (c == u'y') {
                if (run != 2 && run != 4) return std::nullopt;
                ++years;
                if (run == 2) ++twoDigitYears;
                fourDigits += QStringLiteral("yyyy");
            } else {
                fourDigits += QString(run, c);
            }
            pattern += SectionPattern(c, run);
            i += run;
            continue;
        }
        pattern += QRegularExpression::escape(QString(c));
        fourDigits += c;
        ++i;
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
