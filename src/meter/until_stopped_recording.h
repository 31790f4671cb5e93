// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <optional>

#include "store/stored_reading.h"

namespace kr820::store {
class StoreWriter;
class StoredRecording;
}  // namespace kr820::store

namespace kr820::meter {

// The file extension of a recording store, as File > Open offers it.
inline const QString kStoreSuffix = QStringLiteral("kr8db");

// A real-time recording until stopped: every reading goes into a store, its only copy, which the
// Real-Time Graph shows through a StoredRecording; memory does not grow with its length. While it
// runs, a marker file beside the journal names the store, so that a recording that a crash ended
// is offered at the next start, wherever the user put it.
class UntilStoppedRecording {
public:
    explicit UntilStoppedRecording(QString markerPath);
    ~UntilStoppedRecording();

    // A new store in `folder` (made when missing), named by its start. False, with `error` for
    // the user, when it cannot be made.
    bool Begin(const QString& folder, const store::StoreHeader& header, QString* error);
    bool Running() const { return m_writer != nullptr; }
    // Committed before it returns. False once the store refuses (a full disk): the readings
    // before stay, FailureReason() says why.
    bool Append(const store::StoredReading& reading);
    bool AddAlarmMark(const store::AlarmMark& mark);
    QString FailureReason() const;
    // The stop goes into the store; the recording stays shown.
    void Stop(qint64 stoppedMs);
    const std::shared_ptr<store::StoredRecording>& Recording() const { return m_recording; }
    QString Path() const;

    // The store a marker names when the recording that made it did not stop, and no other
    // program writes it now.
    std::optional<QString> LeftOverStore() const;
    // Stops a left-over store at its last reading and forgets the marker; the file stays.
    // Nothing, with `error` set, when it does not read.
    std::shared_ptr<store::StoredRecording> CloseLeftOver(const QString& path, QString* error);

private:
    QString m_markerPath;
    std::unique_ptr<store::StoreWriter> m_writer;
    std::shared_ptr<store::StoredRecording> m_recording;
};

// A name for a new store in `folder` that is not taken: "Recording 2026-03-01 14-05-09.kr8db".
QString NewStorePath(const QString& folder, qint64 startMs);

}  // namespace kr820::meter
