// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "core/alarms/alarm_event.h"
#include "core/files/reading_rows.h"
#include "store/store_writer.h"

namespace kr820::core {
class AlarmEngine;
}

namespace kr820::cli {

// live --store FILE: the rows live prints also appended to a recording store, the same the
// desktop opens (and follows while this writes it), with a mark at each alarm's raise and clear
// and a gap while the meter's link is lost. A file that is already a store is gone on with, the
// time this program did not run marked as a gap.
class LiveStore {
public:
    // The store, or the line that says why it cannot be written.
    static std::unique_ptr<LiveStore> Open(const QString& path, const store::StoreHeader& header,
                                           QString* problem);

    // False once the store failed (a full disk, say): FailureReason() says why.
    bool Append(const core::ReadingRow& row, qint64 timeMs, const core::AlarmEngine* alarms);
    bool Mark(const core::AlarmEvent& event);
    bool LinkLost(qint64 atMs);
    bool LinkRestored(qint64 atMs);
    // The stop, and the store down to the disk.
    bool Finish(qint64 atMs);

    const QString& Path() const { return m_path; }
    QString FailureReason() const { return m_writer->FailureReason(); }
    bool Failed() const { return m_writer->Failed(); }

private:
    LiveStore(QString path, std::unique_ptr<store::StoreWriter> writer)
        : m_path(std::move(path)), m_writer(std::move(writer)) {}

    const QString m_path;
    std::unique_ptr<store::StoreWriter> m_writer;
    // A resumed store: from its last reading to this run's first, nothing was recorded.
    std::optional<qint64> m_stoppedSince;
};

}  // namespace kr820::cli
