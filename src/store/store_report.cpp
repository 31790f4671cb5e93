// SPDX-License-Identifier: MIT
#include "store/store_report.h"

#include "core/alarms/alarm_id.h"
#include "core/alarms/alarm_texts.h"
#include "core/report/report_intake.h"
#include "store/alarm_marks.h"
#include "store/store_exports.h"

namespace kr820::store {
namespace {

core::DisplayUnit UnitOf(bool fahrenheit) {
    return fahrenheit ? core::DisplayUnit::Fahrenheit : core::DisplayUnit::Celsius;
}

QString MarkText(const core::AlarmEvent& event) {
    QString text = QStringLiteral("%1 %2").arg(core::AlarmName(event.Alarm),
                                               core::AlarmChangeName(event.Change));
    if (event.Value) text += QStringLiteral(" at %1").arg(core::DecimalText(*event.Value));
    if (event.Limit) text += QStringLiteral(" (limit %1)").arg(core::DecimalText(*event.Limit));
    return text;
}

}  // namespace

core::ReportReading ReportReadingOf(const StoredReading& reading) {
    core::ReportReading taken;
    taken.TimeMs = reading.TimeMs;
    if (reading.T1Valid) taken.Values[0] = reading.T1;
    if (reading.T2Valid) taken.Values[1] = reading.T2;
    taken.Unit = UnitOf(reading.Fahrenheit);
    return taken;
}

std::array<core::ReportLimits, 2> AlarmLimitsOfStore(StoreReader& reader) {
    std::array<core::ReportLimits, 2> limits;
    const std::optional<StoredReading> first = reader.At(0);
    const core::DisplayUnit unit = UnitOf(first ? first->Fahrenheit : reader.Header().Fahrenheit);
    for (const AlarmMark& mark : reader.AlarmMarks(-kMaxStoredMs, kMaxStoredMs)) {
        const std::optional<core::AlarmEvent> event = AlarmEventOfMark(mark, unit);
        if (!event || event->Change != core::AlarmChange::Raised || !event->Limit) continue;
        const int channel = event->Alarm.Channel == core::AlarmChannel::T2 ? 1 : 0;
        if (event->Alarm.Kind == core::AlarmKind::High) limits[channel].High = event->Limit;
        if (event->Alarm.Kind == core::AlarmKind::Low) limits[channel].Low = event->Limit;
    }
    return limits;
}

bool ReportStore(StoreReader& reader, const core::ReportSettings& given,
                 core::ReportDocument& document) {
    core::ReportSettings settings = given;
    settings.IntervalMs = static_cast<qint64>(reader.Header().RateSeconds) * 1000;
    const qint64 first = settings.FromMs ? reader.LowerBound(*settings.FromMs) : 0;
    const qint64 end = settings.ToMs && *settings.ToMs < kMaxStoredMs
                           ? reader.LowerBound(*settings.ToMs + 1)
                           : reader.Count();
    const std::optional<StoredReading> firstReading = reader.At(first);
    const std::optional<StoredReading> lastReading =
        end > first ? reader.At(end - 1) : std::nullopt;
    const qint64 fromMs = firstReading ? firstReading->TimeMs : reader.Header().StartMs;
    const qint64 toMs = lastReading ? lastReading->TimeMs : fromMs;
    core::ReportIntake intake(settings, fromMs, toMs);
    const bool read = reader.ForEach(first, end, [&](qint64, const StoredReading& reading) {
        intake.Add(ReportReadingOf(reading), RowOfStoredReading(reading));
        return true;
    });
    intake.Finish(document);
    const core::DisplayUnit unit = UnitOf(reader.Header().Fahrenheit);
    for (const AlarmMark& mark : reader.AlarmMarks(fromMs, toMs)) {
        if (const std::optional<core::AlarmEvent> event = AlarmEventOfMark(mark, unit))
            document.Marks.push_back({mark.TimeMs, mark.Channel, MarkText(*event)});
    }
    return read;
}

}  // namespace kr820::store
