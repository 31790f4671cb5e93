// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/realtime/real_time_journal_file.h"
#include "core/time/date_time.h"

namespace kr820::ui {
class Prompter;
}

namespace kr820::meter {

class MeterHost;

// Real-time recording: the live readings copied into the real-time graph at the chosen rate until
// the chosen number of points. The pacing is the main timer's; this starts, adds and stops.
//
// Each recording is also kept in a journal at `journalPath`, point by point, until its points are
// saved or given up; a journal left by a crash is offered at the next start.
class RealTimeRecorder {
public:
    RealTimeRecorder(MeterHost& host, ui::Prompter& prompter, QString journalPath);

    void btnRunClick();
    void btnStopClick();
    // One point from the last live reading, taken at `now`; called by the main timer's tick.
    void AddRealTimePoint(core::TDateTime now);

    // The real-time graph was saved. A recording still running keeps its journal: its next
    // points are not in the file.
    void RealTimeGraphSaved();
    // The real-time points were saved or given up (Clear, the window closed): the journal goes.
    void DiscardJournal();
    // At start-up: a recording a crash left unsaved is offered, and on Yes shown as if it had
    // just stopped, still unsaved.
    void OfferUnsavedRecording();

private:
    void StopRecording();
    void ShowJournal(const core::RealTimeJournal& journal);
    // Failing to keep the journal never stops the recording; the user hears of it once.
    void JournalFailed();

    MeterHost& m_host;
    ui::Prompter& m_prompter;
    core::RealTimeJournalWriter m_journal;
    bool m_journalFailureTold = false;
};

inline const QString kResetQuestion = QStringLiteral(
    "There are datas in Real_Time graph ,it have to reset the graph.\n"
    "Do you want to save the Real-Time graph ?");
// %1 the number of points, %2 the start as date and time.
inline const QString kUnsavedRecordingQuestion =
    QStringLiteral("A real-time recording of %1 points from %2 was not saved. Show it?");
// %1 the journal's path, %2 why writing it failed.
inline const QString kJournalFailedMessage = QStringLiteral(
    "The real-time recording goes on, but it cannot be kept safe against a crash: writing "
    "\"%1\" failed (%2). Save the graph when the recording ends.");

}  // namespace kr820::meter
