// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "core/alarms/alarm_event.h"
#include "store/store_writer.h"

namespace kr820::core {
class AlarmEngine;
}

namespace kr820::store {

// A recording as it is taken, the one way the desktop and `kr820-cli live --store` write one:
// each reading with its channels' alarm bits, a mark at each alarm's raise and clear, and a gap
// while the meter's link is lost. A store that already exists is gone on with, the time no
// recorder ran marked as a gap.
class RecordingWriter {
public:
    // Goes on with the store at `path` when there is one, or makes it with `header`. Nothing,
    // with `error` set, when it cannot be written.
    static std::unique_ptr<RecordingWriter> Open(const QString& path, const StoreHeader& header,
                                                 QString* error);
    ~RecordingWriter();

    // `reading`'s alarm bits are those of `alarms` now (none without). False once the store
    // failed (a full disk, say): FailureReason() says why.
    bool Append(StoredReading reading, const core::AlarmEngine* alarms);
    bool Mark(const core::AlarmEvent& event);
    bool LinkLost(qint64 atMs);
    bool LinkRestored(qint64 atMs);
    // The stop, and the store down to the disk.
    bool Finish(qint64 atMs);

    const QString& Path() const { return m_path; }
    bool Failed() const { return m_writer->Failed(); }
    QString FailureReason() const { return m_writer->FailureReason(); }

private:
    RecordingWriter(QString path, std::unique_ptr<StoreWriter> writer);

    const QString m_path;
    std::unique_ptr<StoreWriter> m_writer;
    // A resumed store: from its last reading to this run's first, nothing was recorded.
    std::optional<qint64> m_stoppedSince;
};

}  // namespace kr820::store
