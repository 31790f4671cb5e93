// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_texts.h"

#include <QStringList>

#include "core/files/reading_rows.h"

namespace kr820::core {
namespace {

QString OptionalDecimal(const std::optional<double>& value) {
    return value ? DecimalText(*value) : QString();
}

}  // namespace

QString AlarmChangeName(AlarmChange change) {
    switch (change) {
        case AlarmChange::Raised:
            return QStringLiteral("raised");
        case AlarmChange::Acknowledged:
            return QStringLiteral("acknowledged");
        case AlarmChange::Cleared:
            return QStringLiteral("cleared");
    }
    return {};
}

std::vector<std::pair<QString, QString>> AlarmEnvironment(const AlarmEvent& event) {
    return {
        {QStringLiteral("KR820_ALARM"), AlarmChangeName(event.Change)},
        {QStringLiteral("KR820_KIND"), AlarmKindName(event.Alarm.Kind)},
        {QStringLiteral("KR820_CHANNEL"), AlarmChannelName(event.Alarm.Channel)},
        {QStringLiteral("KR820_VALUE"), OptionalDecimal(event.Value)},
        {QStringLiteral("KR820_LIMIT"), OptionalDecimal(event.Limit)},
        {QStringLiteral("KR820_UNIT"),
         event.Unit == DisplayUnit::Fahrenheit ? QStringLiteral("F") : QStringLiteral("C")},
        {QStringLiteral("KR820_TIME"), IsoLocalTime(event.Time)},
    };
}

QString ActiveAlarmsText(const AlarmEngine& engine) {
    QStringList active;
    for (const AlarmId id : kAllAlarms) {
        if (engine.Status(id).IsActive()) active.append(AlarmName(id));
    }
    return active.join(u';');
}

}  // namespace kr820::core
