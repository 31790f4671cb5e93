// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

#include "core/alarms/alarm_event.h"
#include "core/live/live_reading.h"
#include "core/realtime/real_time_journal_file.h"
#include "core/time/date_time.h"
#include "meter/until_stopped_recording.h"

class QObject;

namespace kr820::graph {
class TfrmGraph;
}
namespace kr820::ui {
class Prompter;
}
namespace kr820::core {
struct RealTimeSample;
}

namespace kr820::meter {

class MeterHost;

// Real-time recording: the live readings copied into the real-time graph at the chosen rate until
// the chosen number of points. The pacing is the main timer's; this starts, adds and stops.
//
// Each recording is also kept in a journal at `journalPath`, point by point, until its points are
// saved or given up; a journal left by a crash is offered at the next start. A recording until
// stopped goes into a store instead (by default in core::DefaultRecordingFolder), which the
// Real-Time Graph shows as it grows; a store a crash left is offered too.
class RealTimeRecorder {
public:
    RealTimeRecorder(MeterHost& host, ui::Prompter& prompter, QString journalPath);
    ~RealTimeRecorder();

    void btnRunClick();
    void btnStopClick();
    // One point from the last live reading, taken at `now`; called by the main timer's tick.
    void AddRealTimePoint(core::TDateTime now);
    // An alarm raised or cleared while recording: marked on the chart and in its point list, and
    // kept in the journal or the store. Nothing happens while no recording runs.
    void MarkAlarm(const core::AlarmEvent& event);

    // The real-time graph was saved: nothing is left unsaved. A recording still running keeps
    // its journal: its next points are not in the file.
    void RealTimeGraphSaved();
    // The real-time points were saved or given up (Clear, the window closed): the journal goes.
    void DiscardJournal();
    // At start-up: a recording a crash left unsaved is offered, and on Yes shown as if it had
    // just stopped, still unsaved.
    void OfferUnsavedRecording();

    // The recording until stopped, running or last run.
    const UntilStoppedRecording& UntilStopped() const { return m_untilStopped; }
    // A recording until stopped is running.
    bool RecordingUntilStopped() const { return m_untilStopped.Running(); }
    // Where a recording until stopped goes unless the user chooses another folder.
    QString DefaultStoreFolder() const;

private:
    void StopRecording();
    void ShowJournal(const core::RealTimeJournal& journal);
    // Failing to keep the journal never stops the recording; the user hears of it once.
    void JournalFailed();
    bool BeginUntilStopped(graph::TfrmGraph& window, const QString& folder, int rateIndex);
    void AddStoredPoint(const core::LiveReading& live);
    // The store's stop written, and the link no longer watched for it.
    void EndStore();
    // Writing the store failed: the recording stops, the user hears why once the tick ended.
    void StoreFailed();
    void OfferLeftOverStores();

    MeterHost& m_host;
    ui::Prompter& m_prompter;
    core::RealTimeJournalWriter m_journal;
    bool m_journalFailureTold = false;
    UntilStoppedRecording m_untilStopped;
    // While a recording until stopped runs: the link's losses and returns become its gaps.
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
// %1 the journal's path, %2 why writing it failed.
inline const QString kJournalFailedMessage = QStringLiteral(
    "The real-time recording goes on, but it cannot be kept safe against a crash: writing "
    "\"%1\" failed (%2). Save the graph when the recording ends.");

}  // namespace kr820::meter
