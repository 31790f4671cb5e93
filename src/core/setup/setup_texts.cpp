// SPDX-License-Identifier: MIT
#include "core/setup/setup_texts.h"

#include <cmath>
#include <cstdlib>

#include "core/setup/setup_lists.h"

namespace kr820::core {
namespace {

QString Item(std::string_view text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size())).trimmed();
}

template <size_t N>
QString ItemAt(const std::array<std::string_view, N>& list, int index) {
    return index >= 0 && index < int(N) ? Item(list[static_cast<size_t>(index)])
                                        : QString::number(index);
}

QString DateTimeText(const QDateTime& value) {
    return value.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

QString DurationText(qint64 seconds) {
    const qint64 hours = seconds / 3600;
    const qint64 minutes = seconds / 60 % 60;
    const qint64 rest = seconds % 60;
    QStringList parts;
    if (hours > 0) parts << QStringLiteral("%1 h").arg(hours);
    if (minutes > 0) parts << QStringLiteral("%1 min").arg(minutes);
    if (rest > 0 || parts.isEmpty()) parts << QStringLiteral("%1 s").arg(rest);
    return parts.join(u' ');
}

// Any whole number, in or out of the meter's range.
std::optional<int> WholeNumber(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

QString OutOfRange(const QString& label, const QString& text, const QString& lowest,
                   const QString& highest) {
    return QStringLiteral("%1: \"%2\" is outside what the meter holds, %3 to %4.")
        .arg(label, text.trimmed(), lowest, highest);
}

}  // namespace

QString AlarmLimitText(qint16 tenths, const QLocale& locale) {
    QLocale plain = locale;
    plain.setNumberOptions(QLocale::OmitGroupSeparator);
    return plain.toString(tenths / 10.0, 'f', 1);
}

std::optional<qint16> AlarmLimitTenths(const QString& text, const QLocale& locale) {
    bool ok = false;
    const float value = locale.toFloat(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value)) return std::nullopt;
    const float tenths = std::trunc(value * 10.0f);
    if (tenths < kLowestAlarmTenths || tenths > kHighestAlarmTenths) return std::nullopt;
    return static_cast<qint16>(tenths);
}

std::optional<int> LowLimitValue(const QString& text) {
    const auto whole = WholeNumber(text);
    if (!whole) return std::nullopt;
    const int value = *whole / 10 * 10;
    if (value < kLowestLowLimit || value > kHighestLowLimit) return std::nullopt;
    return value;
}

QString LowLimitProblem(const QString& text) {
    if (!WholeNumber(text))
        return QStringLiteral("Low Limit: \"%1\" is not a whole number.").arg(text);
    return OutOfRange(QStringLiteral("Low Limit"), text, QString::number(kLowestLowLimit),
                      QString::number(kHighestLowLimit));
}

QString AlarmLimitProblem(const QString& label, const QString& text, const QLocale& locale) {
    bool ok = false;
    const float value = locale.toFloat(text.trimmed(), &ok);
    if (!ok || !std::isfinite(value))
        return QStringLiteral("%1: \"%2\" is not a number.").arg(label, text.trimmed());
    return OutOfRange(label, text, AlarmLimitText(kLowestAlarmTenths, locale),
                      AlarmLimitText(kHighestAlarmTenths, locale));
}

QStringList SetupChanges(const MeterSetup& read, const MeterSetup& edited, const QLocale& locale) {
    QStringList lines;
    const auto note = [&lines](const char* field, const QString& from, const QString& to) {
        if (from != to) lines << QStringLiteral("%1: %2 → %3").arg(QLatin1String(field), from, to);
    };
    const auto onOff = [](bool on) { return on ? QStringLiteral("on") : QStringLiteral("off"); };
    note("Print start", DateTimeText(read.PrintStart), DateTimeText(edited.PrintStart));
    note("Print stop", DateTimeText(read.PrintStop), DateTimeText(edited.PrintStop));
    note("Print mode", Item(kPrintModes[read.GraphPrintMode]),
         Item(kPrintModes[edited.GraphPrintMode]));
    note("Print interval", ItemAt(kPrintIntervals, read.PrintIntervalIndex),
         ItemAt(kPrintIntervals, edited.PrintIntervalIndex));
    note("Graph inch/hour", ItemAt(kGraphInchesPerHour, read.GraphInchIndex),
         ItemAt(kGraphInchesPerHour, edited.GraphInchIndex));
    note("Low limit", QString::number(read.LowLimit), QString::number(edited.LowLimit));
    note("Scale width", ItemAt(kScaleWidths, read.ScaleWidthIndex),
         ItemAt(kScaleWidths, edited.ScaleWidthIndex));
    note("Record start", DateTimeText(read.RecordStart), DateTimeText(edited.RecordStart));
    note("Record stop", DateTimeText(read.RecordStop), DateTimeText(edited.RecordStop));
    note("Record interval", ItemAt(kRecordIntervals, read.RecordIntervalIndex),
         ItemAt(kRecordIntervals, edited.RecordIntervalIndex));
    note("Auto power-off", onOff(read.AutoPowerOff), onOff(edited.AutoPowerOff));
    note("Alarm", onOff(read.AlarmOn), onOff(edited.AlarmOn));
    note("Alarm upper", AlarmLimitText(read.AlarmUpperTenths, locale),
         AlarmLimitText(edited.AlarmUpperTenths, locale));
    note("Alarm lower", AlarmLimitText(read.AlarmLowerTenths, locale),
         AlarmLimitText(edited.AlarmLowerTenths, locale));
    note("Thermocouple", read.TypeK ? QStringLiteral("K") : QStringLiteral("J"),
         edited.TypeK ? QStringLiteral("K") : QStringLiteral("J"));
    return lines;
}

QString ClockOffsetText(const QDateTime& meterClock, const QDateTime& computerClock) {
    const qint64 ahead = computerClock.secsTo(meterClock);
    if (std::llabs(ahead) < 1) return QStringLiteral("Meter clock agrees with this computer");
    return QStringLiteral("Meter clock %1 %2 this computer")
        .arg(DurationText(std::llabs(ahead)),
             ahead < 0 ? QStringLiteral("behind") : QStringLiteral("ahead of"));
}

}  // namespace kr820::core
