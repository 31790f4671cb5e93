// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringView>
#include <array>
#include <optional>
#include <vector>

#include "core/alarms/alarm_event.h"

namespace kr820::core {

// The alarm log, kept across runs in the program folder: one line per raise, acknowledgement
// and clear, as AlarmEventLine writes it.
inline const QString kAlarmLogName = QStringLiteral("alarms.log");

struct AlarmLogEntry {
    QString Time;    // ISO 8601 with offset
    QString Change;  // raised, acknowledged, cleared
    QString Alarm;   // t1-high, ..., lost
    QString Value;   // "-" where there is none
    QString Limit;
    QString Unit;

    bool operator==(const AlarmLogEntry&) const = default;
};

// Appends the event's line; false when the file could not be written. A log grown beyond
// kAlarmLogKeptBytes is first cut to its newer half, so that years of alarms cannot fill a disk.
bool AppendAlarmLog(const QString& path, const AlarmEvent& event);
inline constexpr qint64 kAlarmLogKeptBytes = 1 << 20;

// The newest `newest` entries, oldest first; lines that are no entry are left out.
std::vector<AlarmLogEntry> ReadAlarmLog(const QString& path, int newest = 1000);
std::optional<AlarmLogEntry> ParseAlarmLogLine(QStringView line);

// Where each alarm (in kAllAlarms' order) stood at the end of the log's entries, oldest first:
// its phase after the raises, acknowledgements and clears written, with its last raise and clear.
// Entries that do not read are passed over.
std::array<AlarmStatus, kAlarmCount> AlarmStatusesOfLog(const std::vector<AlarmLogEntry>& entries);

}  // namespace kr820::core
