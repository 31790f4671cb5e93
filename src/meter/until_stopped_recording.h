// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "core/alarms/alarm_event.h"
#include "store/stored_reading.h"

namespace kr820::core {
class AlarmEngine;
}
namespace kr820::store {
class RecordingWriter;
class StoredRecording;
}  // namespace kr820::store

namespace kr820::meter {

// The file extension of a recording store, as File > Open offers it.
inline const QString kStoreSuffix = QStringLiteral("kr8db");

// A store a recording that did not stop left, and the marker that names it.
struct LeftOverStore {
    QString Marker;
    QString Store;
};

// A real-time recording until stopped: every reading goes into a store, its only copy, which the
// Real-Time Graph shows through a StoredRecording; memory does not grow with its length. While it
// runs, a marker file in the program folder names the store by its absolute path, so that a
// recording that a crash ended is offered at the next start, wherever the user put it and
// wherever the program is started from. Each store has a marker of its own: one not yet offered
// is never overwritten by the next recording's.
class UntilStoppedRecording {
public:
    // The first marker is `markerPath` ("RealTimeRecording.store"); others are numbered beside
    // it ("RealTimeRecording.2.store").
    explicit UntilStoppedRecording(QString markerPath);
    ~UntilStoppedRecording();

    // A new store in `folder` (made when missing), named by its start. False, with `error` for
    // the user, when it cannot be made.
    bool Begin(const QString& folder, const store::StoreHeader& header, QString* error);
    bool Running() const { return m_writer != nullptr; }
    // Committed before it returns, with the alarm bits `alarms` has up. False once the store
    // refuses (a full disk): the readings before stay, FailureReason() says why.
    bool Append(const store::StoredReading& reading, const core::AlarmEngine* alarms);
    bool Mark(const core::AlarmEvent& event);
    // The meter's link lost and back: a gap in the store.
    bool LinkLost(qint64 atMs);
    bool LinkRestored(qint64 atMs);
    QString FailureReason() const;
    // The stop goes into the store; the recording stays shown.
    void Stop(qint64 stoppedMs);
    const std::shared_ptr<store::StoredRecording>& Recording() const { return m_recording; }
    QString Path() const;

    // The stores markers name whose recordings did not stop, oldest marker first; markers of
    // stores that are gone are forgotten.
    std::vector<LeftOverStore> LeftOverStores() const;
    // Stops a left-over store at its last reading and forgets its marker; the file stays.
    // Nothing, with `error` set, when it does not read.
    std::shared_ptr<store::StoredRecording> CloseLeftOver(const LeftOverStore& left,
                                                          QString* error);

private:
    // Every marker file, the first one first.
    QStringList MarkerPaths() const;
    QString FreeMarkerPath() const;

    QString m_markerPath;
    QString m_runningMarker;
    std::unique_ptr<store::RecordingWriter> m_writer;
    std::shared_ptr<store::StoredRecording> m_recording;
};

// A name for a new store in `folder` that is not taken: "Recording 2026-03-01 14-05-09.kr8db".
QString NewStorePath(const QString& folder, qint64 startMs);

}  // namespace kr820::meter
