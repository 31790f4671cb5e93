// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <QString>
#include <optional>

#include "core/realtime/real_time_journal.h"

namespace kr820::core {

// Where the journal of the running real-time recording lives in the program folder.
QString RealTimeJournalPath(const QString& programFolder);

// Writes the journal of one recording. Every record goes to the system as it is appended (a
// killed program loses nothing written); it goes down to the disk at the start, at least every
// 10 seconds of recording time, and at the stop, so that a power loss takes 10 seconds at most.
// While open the file is locked, so that a second running program leaves it alone.
class RealTimeJournalWriter {
public:
    explicit RealTimeJournalWriter(QString path);
    ~RealTimeJournalWriter();
    RealTimeJournalWriter(const RealTimeJournalWriter&) = delete;
    RealTimeJournalWriter& operator=(const RealTimeJournalWriter&) = delete;

    // A new journal in place of any earlier one. Each call gives false when the journal could
    // not be written; FailureReason() says why, and the journal stays closed from then on.
    bool Begin(const RealTimeJournalStart& start);
    bool Append(const RealTimeJournalPoint& point);
    bool AppendMark(const RealTimeJournalMark& mark);
    // The stop, down to the disk. The file stays open and locked until Remove or destruction.
    bool End(TDateTime stopped);
    // Closes and deletes the journal; nothing happens when there is none.
    void Remove();

    bool IsOpen() const { return m_file.isOpen(); }
    const QString& Path() const { return m_path; }
    const QString& FailureReason() const { return m_failure; }

private:
    bool Write(const QByteArray& bytes);
    bool Sync();
    bool Fail(QString reason);
    void Close();

    QString m_path;
    QFile m_file;
    TDateTime m_lastSync = 0;
    QString m_failure;
};

// The journal at `path`; nothing when there is none, it cannot be read or it is no journal.
std::optional<RealTimeJournal> ReadRealTimeJournal(const QString& path);

// Another running program holds the journal: it is that program's running recording.
bool RealTimeJournalHeldElsewhere(const QString& path);

}  // namespace kr820::core
