// SPDX-License-Identifier: MIT
#include "cli/live_store.h"

#include <QFileInfo>

#include "core/alarms/alarm_engine.h"
#include "store/alarm_marks.h"

namespace kr820::cli {
namespace {

// Whether any alarm of the channel is up.
bool ChannelAlarm(const core::AlarmEngine* alarms, core::AlarmChannel channel) {
    if (!alarms) return false;
    for (const core::AlarmId& id : core::kAllAlarms)
        if (id.Channel == channel && alarms->Status(id).IsActive()) return true;
    return false;
}

}  // namespace

std::unique_ptr<LiveStore> LiveStore::Open(const QString& path, const store::StoreHeader& header,
                                           QString* problem) {
    QString error;
    const bool exists = QFileInfo::exists(path);
    std::unique_ptr<store::StoreWriter> writer =
        exists ? store::StoreWriter::Resume(path, &error)
               : store::StoreWriter::Create(path, header, &error);
    if (!writer) {
        *problem = QStringLiteral("cannot write the store '%1': %2").arg(path, error);
        return nullptr;
    }
    std::unique_ptr<LiveStore> opened(new LiveStore(path, std::move(writer)));
    if (exists && !opened->m_writer->GapOpen())
        opened->m_stoppedSince = opened->m_writer->LastTimeMs();
    return opened;
}

bool LiveStore::Append(const core::ReadingRow& row, qint64 timeMs,
                       const core::AlarmEngine* alarms) {
    if (m_stoppedSince) {
        m_writer->MarkGap({*m_stoppedSince, timeMs, store::GapCause::RecorderStopped});
        m_stoppedSince.reset();
    }
    // A store resumed after a killed writer may hold a gap still open: this reading ends it.
    if (m_writer->GapOpen()) m_writer->EndGap(timeMs);
    store::StoredReading reading;
    reading.TimeMs = timeMs;
    reading.T1Valid = row.T1.has_value();
    reading.T2Valid = row.T2.has_value();
    reading.T1 = static_cast<float>(row.T1.value_or(0.0));
    reading.T2 = static_cast<float>(row.T2.value_or(0.0));
    reading.Fahrenheit = row.Unit == QStringLiteral("F");
    reading.T1Alarm = ChannelAlarm(alarms, core::AlarmChannel::T1);
    reading.T2Alarm = ChannelAlarm(alarms, core::AlarmChannel::T2);
    return m_writer->Append(reading);
}

bool LiveStore::Mark(const core::AlarmEvent& event) {
    const std::optional<store::AlarmMark> mark = store::MarkOfAlarmEvent(event);
    return !mark || m_writer->AddAlarmMark(*mark);
}

bool LiveStore::LinkLost(qint64 atMs) {
    return m_writer->GapOpen() || m_writer->BeginGap(atMs, store::GapCause::LinkLost);
}

bool LiveStore::LinkRestored(qint64 atMs) { return !m_writer->GapOpen() || m_writer->EndGap(atMs); }

bool LiveStore::Finish(qint64 atMs) {
    if (m_writer->GapOpen()) m_writer->EndGap(atMs);
    return m_writer->Finish(atMs);
}

}  // namespace kr820::cli
