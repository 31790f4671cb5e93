// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <optional>

#include "core/setup/meter_setup.h"

namespace kr820::core {

// An alarm limit as the dialog shows it: degrees with one decimal.
QString AlarmLimitText(qint16 tenths, const QLocale& locale);
// The limit typed into the dialog in tenths: the number times 10 in single precision, cut
// toward zero. None when the text is no number or the tenths do not fit the meter's 16 bits
// (3276.8 would be stored as -3276.8).
std::optional<qint16> AlarmLimitTenths(const QString& text, const QLocale& locale);

// The print low limit typed into the dialog, cut toward zero to a multiple of 10 (-225 gives
// -220). None when the text is no whole number or the cut value is outside -220 to 2400.
std::optional<int> LowLimitValue(const QString& text);

// The one line that refuses a field the save cannot take, naming the field and, for a number
// the meter cannot hold, its range; as the dialog and the command line both say it.
QString LowLimitProblem(const QString& text);
QString AlarmLimitProblem(const QString& label, const QString& text, const QLocale& locale);

// The fields whose value differs between what the meter holds and what the dialog would write,
// one line each: "Record interval: 00:00:01 → 00:01:00". Empty when nothing changed.
QStringList SetupChanges(const MeterSetup& read, const MeterSetup& edited, const QLocale& locale);

// How far the meter's clock is from this computer's: "Meter clock 2 min 13 s behind this
// computer", "... ahead of ...", or "Meter clock agrees with this computer" within a second.
QString ClockOffsetText(const QDateTime& meterClock, const QDateTime& computerClock);

}  // namespace kr820::core
