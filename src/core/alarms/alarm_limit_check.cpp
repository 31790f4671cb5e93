// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_limit_check.h"

#include <cmath>

#include "core/alarms/alarm_descriptions.h"
#include "core/data/sample_value.h"

namespace kr820::core {
namespace {

// Limits count in tenths, as the engine compares them.
qint64 Tenths(double degrees) { return std::llround(degrees * 10.0); }

QString Degrees(double value, DisplayUnit unit) {
    return QStringLiteral("%1 %2").arg(value, 0, 'f', 1).arg(DegreesText(unit));
}

QString SpanText(std::optional<DisplayUnit> unit) {
    const auto span = [](DisplayUnit in) {
        const ReadingSpan reading = ReadingSpanIn(in);
        return QStringLiteral("%1 to %2")
            .arg(Degrees(reading.Lowest, in), Degrees(reading.Highest, in));
    };
    if (unit) return span(*unit);
    return span(DisplayUnit::Celsius) + QStringLiteral(", or ") + span(DisplayUnit::Fahrenheit);
}

bool WithinSpan(double limit, std::optional<DisplayUnit> unit) {
    const auto within = [limit](DisplayUnit in) {
        const ReadingSpan span = ReadingSpanIn(in);
        return std::isfinite(limit) && Tenths(limit) >= Tenths(span.Lowest) &&
               Tenths(limit) <= Tenths(span.Highest);
    };
    return unit ? within(*unit) : within(DisplayUnit::Celsius) || within(DisplayUnit::Fahrenheit);
}

// The limit as the user wrote it when its unit is not known yet.
QString LimitText(double limit, std::optional<DisplayUnit> unit) {
    return unit ? Degrees(limit, *unit) : QString::number(limit, 'f', 1);
}

}  // namespace

ReadingSpan ReadingSpanIn(DisplayUnit unit) {
    const double lowest = kMinTenthsCelsius / 10.0;
    const double highest = kTypeKMaxTenthsCelsius / 10.0;
    return {InUnit(lowest, unit), InUnit(highest, unit)};
}

std::optional<AlarmLimitProblem> CheckAlarmLimits(const AlarmSettings& settings) {
    const std::optional<DisplayUnit> unit = settings.LimitUnit;
    for (const AlarmChannel channel : {AlarmChannel::T1, AlarmChannel::T2}) {
        const ChannelAlarmSettings& limits = settings.Channel(channel);
        for (const AlarmKind kind : {AlarmKind::High, AlarmKind::Low}) {
            const AlarmLimit& limit = kind == AlarmKind::High ? limits.High : limits.Low;
            if (!limit.On || WithinSpan(limit.Limit, unit)) continue;
            return AlarmLimitProblem{
                {kind, channel},
                QStringLiteral("The %1 %2 limit %3 lies outside what a reading can be (%4): it "
                               "could never be raised.")
                    .arg(AlarmChannelName(channel), AlarmKindName(kind),
                         LimitText(limit.Limit, unit), SpanText(unit))};
        }
        if (limits.High.On && limits.Low.On && Tenths(limits.Low.Limit) > Tenths(limits.High.Limit))
            return AlarmLimitProblem{
                {AlarmKind::Low, channel},
                QStringLiteral("The %1 low limit %2 is above its high limit %3: a reading between "
                               "them would raise both.")
                    .arg(AlarmChannelName(channel), LimitText(limits.Low.Limit, unit),
                         LimitText(limits.High.Limit, unit))};
    }
    return std::nullopt;
}

}  // namespace kr820::core
