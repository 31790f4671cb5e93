// SPDX-License-Identifier: MIT
#pragma once

#include <QDate>
#include <QLocale>
#include <QString>

namespace kr820::core {

// The year ending in `twoDigits` (0 to 99) that lies in the hundred years around `today`: from
// 50 years before its year to 49 after.
int YearNear(int twoDigits, QDate today);

// `text` read with the date format `format`. A two-digit year ("yy") lands in the hundred years
// around `today`, where Qt alone would put it in the 1900s; 29 February of a year ending in 00
// is read as well. Invalid when the text does not fit the format.
QDate ReadDate(const QString& text, const QString& format, const QLocale& locale, QDate today);

}  // namespace kr820::core
