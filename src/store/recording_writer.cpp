// SPDX-License-Identifier: MIT
#include "store/recording_writer.h"

#include <QFileInfo>

#include "core/alarms/alarm_engine.h"
#include "store/alarm_marks.h"

namespace kr820::store {
namespace {

// Whether any alarm of the channel is up.
bool ChannelAlarm(const core::AlarmEngine* alarms, core::AlarmChannel channel) {
    if (!alarms) return false;
    for (const core::AlarmId& id : core::kAllAlarms)
        if (id.Channel == channel && alarms->Status(id).IsActive()) return true;
    return false;
}

}  // namespace

RecordingWriter::RecordingWriter(QString path, std::unique_ptr<StoreWriter> writer)
    : m_path(std::move(path)), m_writer(std::move(writer)) {}

RecordingWriter::~RecordingWriter() = default;

std::unique_ptr<RecordingWriter> RecordingWriter::Open(const QString& path,
                                                       const StoreHeader& header, QString* error) {
    const bool exists = QFileInfo::exists(path);
    std::unique_ptr<StoreWriter> writer =
        exists ? StoreWriter::Resume(path, error) : StoreWriter::Create(path, header, error);
    if (!writer) return nullptr;
    std::unique_ptr<RecordingWriter> opened(new RecordingWriter(path, std::move(writer)));
    if (exists && !opened->m_writer->GapOpen())
        opened->m_stoppedSince = opened->m_writer->LastTimeMs();
    return opened;
}

bool RecordingWriter::Append(StoredReading reading, const core::AlarmEngine* alarms) {
    if (m_stoppedSince) {
        m_writer->MarkGap({*m_stoppedSince, reading.TimeMs, GapCause::RecorderStopped});
        m_stoppedSince.reset();
    }
    // A store resumed after a killed writer may hold a gap still open: this reading ends it.
    if (m_writer->GapOpen()) m_writer->EndGap(reading.TimeMs);
    reading.T1Alarm = ChannelAlarm(alarms, core::AlarmChannel::T1);
    reading.T2Alarm = ChannelAlarm(alarms, core::AlarmChannel::T2);
    return m_writer->Append(reading);
}

bool RecordingWriter::Mark(const core::AlarmEvent& event) {
    const std::optional<AlarmMark> mark = MarkOfAlarmEvent(event);
    return !mark || m_writer->AddAlarmMark(*mark);
}

bool RecordingWriter::LinkLost(qint64 atMs) {
    return m_writer->GapOpen() || m_writer->BeginGap(atMs, GapCause::LinkLost);
}

bool RecordingWriter::LinkRestored(qint64 atMs) {
    return !m_writer->GapOpen() || m_writer->EndGap(atMs);
}

bool RecordingWriter::Finish(qint64 atMs) {
    if (m_writer->GapOpen()) m_writer->EndGap(atMs);
    return m_writer->Finish(atMs);
}

}  // namespace kr820::store
