// SPDX-License-Identifier: MIT
#include "core/alarms/alarm_log.h"

#include <QFile>
#include <QSaveFile>

#include "core/alarms/alarm_descriptions.h"
#include "core/alarms/alarm_texts.h"

namespace kr820::core {
namespace {

// Keeps the newer half of an overgrown log, cut at a line's start.
void CutToNewerHalf(const QString& path) {
    QFile in(path);
    if (!in.open(QIODevice::ReadOnly)) return;
    QByteArray bytes = in.readAll();
    in.close();
    const qsizetype start = bytes.indexOf('\n', bytes.size() / 2);
    if (start < 0) return;
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly)) return;
    out.write(bytes.mid(start + 1));
    out.commit();
}

std::optional<double> LoggedNumber(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok ? std::optional<double>(value) : std::nullopt;
}

std::optional<AlarmEvent> EventOf(const AlarmLogEntry& entry) {
    AlarmEvent event;
    int index = -1;
    for (int i = 0; i < kAlarmCount; ++i) {
        if (AlarmName(kAllAlarms[i]) == entry.Alarm) index = i;
    }
    bool known = false;
    for (const AlarmChange change :
         {AlarmChange::Raised, AlarmChange::Acknowledged, AlarmChange::Cleared}) {
        if (AlarmChangeName(change) != entry.Change) continue;
        event.Change = change;
        known = true;
    }
    event.Time = QDateTime::fromString(entry.Time, Qt::ISODate);
    if (index < 0 || !known || !event.Time.isValid()) return std::nullopt;
    event.Alarm = kAllAlarms[index];
    event.Value = LoggedNumber(entry.Value);
    event.Limit = LoggedNumber(entry.Limit);
    event.Unit = entry.Unit == u"F" ? DisplayUnit::Fahrenheit : DisplayUnit::Celsius;
    return event;
}

}  // namespace

std::array<AlarmStatus, kAlarmCount> AlarmStatusesOfLog(const std::vector<AlarmLogEntry>& entries) {
    std::array<AlarmStatus, kAlarmCount> statuses;
    for (const AlarmLogEntry& entry : entries) {
        const std::optional<AlarmEvent> event = EventOf(entry);
        if (!event) continue;
        // The engine's steps, as they were taken.
        AlarmStatus& status = statuses[AlarmIndex(event->Alarm)];
        switch (event->Change) {
            case AlarmChange::Raised:
                status.Phase = AlarmPhase::Raised;
                status.LastRaise = event;
                break;
            case AlarmChange::Acknowledged:
                if (status.Phase == AlarmPhase::Raised) status.Phase = AlarmPhase::Acknowledged;
                if (status.Phase == AlarmPhase::Cleared) status.Phase = AlarmPhase::Normal;
                break;
            case AlarmChange::Cleared:
                status.Phase =
                    status.Phase == AlarmPhase::Raised ? AlarmPhase::Cleared : AlarmPhase::Normal;
                status.LastClear = event;
                break;
        }
    }
    return statuses;
}

bool AppendAlarmLog(const QString& path, const AlarmEvent& event) {
    if (QFile(path).size() > kAlarmLogKeptBytes) CutToNewerHalf(path);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) return false;
    const QByteArray line = (AlarmEventLine(event) + u'\n').toUtf8();
    return file.write(line) == line.size() && file.flush();
}

std::optional<AlarmLogEntry> ParseAlarmLogLine(QStringView line) {
    const QList<QStringView> words = line.trimmed().split(u' ');
    if (words.size() != 6) return std::nullopt;
    return AlarmLogEntry{words[0].toString(), words[1].toString(), words[2].toString(),
                         words[3].toString(), words[4].toString(), words[5].toString()};
}

std::vector<AlarmLogEntry> ReadAlarmLog(const QString& path, int newest) {
    QFile file(path);
    std::vector<AlarmLogEntry> entries;
    if (!file.open(QIODevice::ReadOnly)) return entries;
    const QList<QByteArray> lines = file.read(kAlarmLogKeptBytes * 2).split('\n');
    for (const QByteArray& line : lines) {
        if (auto entry = ParseAlarmLogLine(QString::fromUtf8(line))) entries.push_back(*entry);
    }
    if (static_cast<int>(entries.size()) > newest)
        entries.erase(entries.begin(), entries.end() - newest);
    return entries;
}

}  // namespace kr820::core
