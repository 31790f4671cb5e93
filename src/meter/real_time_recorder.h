// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

#include "core/alarms/alarm_event.h"
#include "core/time/date_time.h"
#include "meter/recording_in_store.h"

class QObject;

namespace kr820::graph {
class TfrmGraph;
}
namespace kr820::ui {
class Prompter;
}

namespace kr820::meter {

class MeterHost;

// Real-time recording: the live readings copied into the real-time graph at the chosen rate until
// the chosen number of points, or until stopped. The pacing is the main timer's; this starts,
// adds and stops.
//
// Every recording goes into a store (RecordingInStore). A fixed-length one is shown from the
// chart and kept in its store in the program folder until its points are saved or given up; a
// recording until stopped goes into a store of the user's (by default in
// core::DefaultRecordingFolder), which the Real-Time Graph shows as it grows. Whatever a crash
// left is offered at the next start, one question at a time.
class RealTimeRecorder {
public:
    RealTimeRecorder(MeterHost& host, ui::Prompter& prompter, QString programFolder);
    ~RealTimeRecorder();

    void btnRunClick();
    void btnStopClick();
    // One point from the last live reading, taken at `now`; called by the main timer's tick.
    void AddRealTimePoint(core::TDateTime now);
    // An alarm raised or cleared while recording: marked on the chart and in its point list, and
    // kept in the store. Nothing happens while no recording runs.
    void MarkAlarm(const core::AlarmEvent& event);

    // The real-time graph was saved: nothing is left unsaved. A recording still running keeps
    // its store: its next points are not in the file.
    void RealTimeGraphSaved();
    // The real-time points were saved or given up (Clear, the window closed): nothing is left
    // unsaved; a fixed-length recording's store goes; a recording until stopped ends, its store
    // kept.
    void DiscardUnsavedPoints();
    // The Real-Time Graph closed, its points saved or given up: whatever recording ran ends
    // there, and the commands follow at once.
    void RealTimeGraphClosed();
    // At start-up: each recording a crash left is offered, one question at a time. A
    // fixed-length one is shown on Yes as if it had just stopped, still unsaved, and kept until
    // saved or given up; No gives it up; no answer keeps it for the next start.
    void OfferLeftOverRecordings();

    // The recording in its store, running or last run.
    const RecordingInStore& Store() const { return m_store; }
    // A recording until stopped is running.
    bool RecordingUntilStopped() const { return m_store.Running() && !m_store.HoldsFixedLength(); }
    // Where a recording until stopped goes unless the user chooses another folder.
    QString DefaultStoreFolder() const;
    // Where fixed-length recordings are kept until saved or given up.
    QString UnsavedFolder() const { return m_unsavedFolder; }

private:
    void StopRecording();
    // Starts keeping a fixed-length recording in its store; failing never stops the recording.
    void BeginFixedLengthStore(int points, core::TDateTime start, int rateIndex);
    // Failing to keep a fixed-length recording never stops it; the user hears of it once.
    void KeepingFailed();
    void TellKeepingFailed(const QString& path, const QString& reason);
    // A store failed: a recording until stopped stops, a fixed-length one goes on.
    void WritingFailed();
    bool BeginUntilStopped(graph::TfrmGraph& window, const QString& folder, int rateIndex);
    void AddStoredPoint();
    // The link's losses and returns become gaps in the store.
    void WatchLink();
    // The store's stop written, and the link no longer watched for it.
    void EndStore();
    // Writing the store failed: the recording stops, the user hears why once the tick ended.
    void StoreFailed();
    // One left-over store asked about; false when the rest wait for the next start.
    bool OfferLeftOver(const LeftOverStore& left);
    // Points the graph shows unsaved are asked about before another recording replaces them;
    // false when they stay.
    bool ReplaceShownPoints(graph::TfrmGraph& window);
    bool ShowLeftOverFixedLength(const LeftOverStore& left);

    MeterHost& m_host;
    ui::Prompter& m_prompter;
    QString m_unsavedFolder;
    bool m_keepingFailureTold = false;
    RecordingInStore m_store;
    // While a recording runs: the link's losses and returns become its gaps.
    std::unique_ptr<QObject> m_linkWatch;
};

inline const QString kResetQuestion = QStringLiteral(
    "There are datas in Real_Time graph ,it have to reset the graph.\n"
    "Do you want to save the Real-Time graph ?");
// Quitting while a recording until stopped runs; Yes stops it.
inline const QString kStopRecordingAndQuitQuestion =
    QStringLiteral("A recording is running. Stop it and quit?");
// %1 the number of points, %2 the start as date and time.
inline const QString kUnsavedRecordingQuestion =
    QStringLiteral("A real-time recording of %1 points from %2 was not saved. Show it?");
// %1 the store's path, %2 why.
inline const QString kStoreNotMadeMessage =
    QStringLiteral("The recording cannot start: the store \"%1\" was not made (%2).");
inline const QString kStoreFailedMessage = QStringLiteral(
    "The recording stopped: writing \"%1\" failed (%2). The readings before are kept in it.");
// %1 the number of readings, %2 the start as date and time, %3 the store's path.
inline const QString kLeftOverStoreQuestion = QStringLiteral(
    "A real-time recording of %1 readings from %2 did not stop; it is kept in \"%3\". Show it?");
// %1 the store's path, %2 why writing it failed.
inline const QString kKeepingFailedMessage = QStringLiteral(
    "The real-time recording goes on, but it cannot be kept safe against a crash: writing "
    "\"%1\" failed (%2). Save the graph when the recording ends.");

}  // namespace kr820::meter
