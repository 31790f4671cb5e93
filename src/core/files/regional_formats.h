// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace kr820::core {

// The user's regional settings as text files use them: taken when a file is written, and again
// when one is read, so a file follows the settings of the machine that wrote it.
struct RegionalFormats {
    // Month and day names, AM/PM texts, digits and the minus sign; never group separators.
    QLocale Locale;
    QString ShortDate;
    // The long time format without its time zone: the files hold the meter's wall-clock times.
    QString LongTime;
    QString DecimalSeparator;
    // Two-digit years are read into the hundred years around this day.
    QDate Today;

    static RegionalFormats FromLocale(const QLocale& locale = QLocale::system(),
                                      QDate today = QDate::currentDate());

    // A decimal comma would split every value of a comma-separated file in two.
    bool OffersCsv() const { return DecimalSeparator != QStringLiteral(","); }
};

// `format` without its time-zone sections ("t" to "tttt") and the blanks or brackets left around
// them. Quoted text stays as it is.
QString WithoutTimeZone(const QString& format);

}  // namespace kr820::core
