// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_descriptions.h"

#include "core/alarms/alarm_texts.h"
#include "core/files/reading_rows.h"

namespace kr820::core {

QString AlarmTitle(AlarmId id) {
    const QString channel = AlarmChannelName(id.Channel);
    switch (id.Kind) {
        case AlarmKind::High:
            return QStringLiteral("%1 high alarm").arg(channel);
        case AlarmKind::Low:
            return QStringLiteral("%1 low alarm").arg(channel);
        case AlarmKind::ProbeFault:
            return QStringLiteral("%1 probe fault").arg(channel);
        case AlarmKind::MeterLost:
            return QStringLiteral("Meter lost");
    }
    return {};
}

QString DegreesText(DisplayUnit unit) {
    return unit == DisplayUnit::Fahrenheit ? QStringLiteral("\u00B0F") : QStringLiteral("\u00B0C");
}

QString AlarmEventText(const AlarmEvent& event) {
    QString text = AlarmTitle(event.Alarm) + u' ' + AlarmChangeName(event.Change);
    const QString degrees = DegreesText(event.Unit);
    if (event.Value) {
        text += QStringLiteral(": %1 %2").arg(DecimalText(*event.Value), degrees);
        if (event.Limit)
            text += QStringLiteral(", limit %1 %2").arg(DecimalText(*event.Limit), degrees);
    } else if (event.Limit) {
        text += QStringLiteral(": limit %1 %2").arg(DecimalText(*event.Limit), degrees);
    }
    return text;
}

QString AlarmEventLine(const AlarmEvent& event) {
    const auto optional = [](const std::optional<double>& value) {
        return value ? DecimalText(*value) : QStringLiteral("-");
    };
    return QStringList{
        IsoLocalTime(event.Time),
        AlarmChangeName(event.Change),
        AlarmName(event.Alarm),
        optional(event.Value),
        optional(event.Limit),
        event.Unit == DisplayUnit::Fahrenheit ? QStringLiteral("F") : QStringLiteral("C")}
        .join(u' ');
}

}  // namespace kr820::core
