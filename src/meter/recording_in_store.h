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

// A real-time recording in a store. A recording until stopped keeps every reading there, its
// only copy, which the Real-Time Graph shows through a StoredRecording, so that memory does not
// grow with its length. A fixed-length recording is shown from the chart and kept in a store as
// well, against a crash, until its points are saved or given up.
//
// While a store may still be wanted, a marker file in the program folder names it by its absolute
// path, so that one a crash left is offered at the next start, wherever the user put it and
// wherever the program is started from: a recording until stopped's marker goes at its stop (the
// store is the user's file from then on), a fixed-length one's when its points are saved or given
// up (Discard). Each store has a marker of its own: one not yet offered is never overwritten by
// the next recording's.
class RecordingInStore {
public:
    // The first marker is `markerPath` ("RealTimeRecording.store"); others are numbered beside
    // it ("RealTimeRecording.2.store").
    explicit RecordingInStore(QString markerPath);
    ~RecordingInStore();

    // A new store in `folder` (made when missing), named by its start; a fixed-length recording
    // when `header` holds the points asked. False, with `error` for the user, when it cannot be
    // made.
    bool Begin(const QString& folder, const store::StoreHeader& header, QString* error);
    bool Running() const { return m_writer != nullptr; }
    // The store held (running, stopped or taken up after a crash) is a fixed-length recording's.
    bool HoldsFixedLength() const { return m_fixedLength && !m_storePath.isEmpty(); }
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
    // A fixed-length recording's points were saved or given up: its store and marker go (the
    // writing stops first). Nothing happens to a recording until stopped's store.
    void Discard();
    // A fixed-length store a crash left, shown again: held, marker and all, until its points are
    // saved or given up.
    void TakeUp(const LeftOverStore& left);
    // Shown by a recording until stopped only.
    const std::shared_ptr<store::StoredRecording>& Recording() const { return m_recording; }
    QString Path() const { return m_storePath; }

    // The stores markers name that are not held here, oldest marker first; markers of stores
    // that are gone are forgotten.
    std::vector<LeftOverStore> LeftOverStores() const;
    // A left-over store stopped at its last reading; the file and its marker stay. False, with
    // `error` set, when another program still writes it or it does not read.
    static bool StopLeftOver(const LeftOverStore& left, QString* error);
    // A left-over store kept where it is, no longer offered.
    static void ForgetLeftOver(const LeftOverStore& left);
    // A left-over fixed-length store given up: the file goes with its marker.
    static void RemoveLeftOver(const LeftOverStore& left);

private:
    // Every marker file, the first one first.
    QStringList MarkerPaths() const;
    QString FreeMarkerPath() const;
    void Release();

    QString m_markerPath;
    // The marker of the store held, and the store.
    QString m_heldMarker;
    QString m_storePath;
    bool m_fixedLength = false;
    std::unique_ptr<store::RecordingWriter> m_writer;
    std::shared_ptr<store::StoredRecording> m_recording;
};

// A name for a new store in `folder` that is not taken: "Recording 2026-03-01 14-05-09.kr8db".
QString NewStorePath(const QString& folder, qint64 startMs);

}  // namespace kr820::meter
