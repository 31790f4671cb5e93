// SPDX-License-Identifier: MIT
#include "meter/real_time_recorder.h"

#include <QFile>

#include "core/graph/graph_texts.h"
#include "core/logging/log_categories.h"
#include "core/realtime/real_time_rates.h"
#include "core/realtime/real_time_sample.h"
#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "link/meter_link.h"
#include "link/wait.h"
#include "meter/frm_setup_real_time.h"
#include "meter/meter_host.h"
#include "ui/prompter.h"

namespace kr820::meter {
namespace {

constexpr std::chrono::milliseconds kTickWaitLimit{2500};

}  // namespace

RealTimeRecorder::RealTimeRecorder(MeterHost& host, ui::Prompter& prompter, QString journalPath)
    : m_host(host), m_prompter(prompter), m_journal(std::move(journalPath)) {}

void RealTimeRecorder::btnRunClick() {
    core::AppState& state = m_host.State();
    if (!state.Connected) return;

    graph::TfrmGraph* window = m_host.RealTimeGraphWindow();
    if (window) {
        graph::RestoreNormal(window);
        if (state.RealTimeRecording || state.RealTimePointCount != 0) {
            const ui::Prompter::Answer answer = m_prompter.Confirm(
                m_host.DialogOwner(), kResetQuestion, ui::Prompter::Buttons::YesNoCancel);
            window->setFocus();
            if (answer == ui::Prompter::Answer::Cancel) return;
            // "Yes" means the points are wanted: without a file written they stay.
            if (answer == ui::Prompter::Answer::Yes && !m_host.SaveSingleSet(*window)) return;
        }
    } else {
        window = m_host.ReopenRealTimeGraph();
    }

    TfrmSetupRealTime setup(window->SamplingRateIndex(), m_host.DialogOwner(), &m_prompter);
    state.RealTimeRate =
        core::kRealTimeRates[static_cast<size_t>(std::max(0, window->SamplingRateIndex()))].seconds;
    if (m_prompter.Exec(setup) != QDialog::Accepted) return;
    const RealTimeSetupChoice choice = setup.Choice();
    state.RealTimeRate = core::kRealTimeRates[static_cast<size_t>(choice.RateIndex)].seconds;
    window->SetSamplingRateIndex(choice.RateIndex);
    const std::optional<int> points = RealTimePoints(choice.Points);
    if (!points) {  // the dialog refuses it already; a test may answer without it
        m_prompter.Message(m_host.DialogOwner(), choice.Points.trimmed() + kNotValidSuffix);
        return;
    }

    state.RealTimePointCount = 0;
    state.RateTicks = 0;
    const core::TDateTime start = core::NowTDateTime();
    window->BeginRealTimeRecording(*points, start);
    m_journalFailureTold = false;
    if (!m_journal.Begin({start, choice.RateIndex, *points})) JournalFailed();
    state.RealTimeRecording = true;
    m_host.EnableRun(false);
    m_host.EnableStop(true);
    m_host.EnableOption(false);
}

void RealTimeRecorder::AddRealTimePoint(core::TDateTime now) {
    core::AppState& state = m_host.State();
    graph::TfrmGraph* window = m_host.RealTimeGraphWindow();
    if (!window) return;
    const core::LiveReading& live = m_host.Link().Readings().Last();
    const core::RealTimeSample sample =
        core::MakeRealTimeSample(live.Status, live.Invalid, live.Value(core::LiveValue::T1),
                                 live.Value(core::LiveValue::T2));
    window->ShowRealTimePoint(state.RealTimePointCount, sample, now, state.RealTimeAxisStep);
    if (m_journal.IsOpen() && !m_journal.Append({now, sample})) JournalFailed();
    ++state.RealTimePointCount;
    state.RealTimeUnsaved = true;
    // The tick that takes the last point stops the recording itself, without waiting for the
    // tick to end: it is that tick.
    if (state.RealTimePointCount >= window->Chart().Data().Points()) StopRecording();
}

void RealTimeRecorder::btnStopClick() {
    core::AppState& state = m_host.State();
    link::WaitWhile([&state] { return state.TimerBusy; }, kTickWaitLimit);
    StopRecording();
}

void RealTimeRecorder::StopRecording() {
    core::AppState& state = m_host.State();
    state.RealTimeRecording = false;
    m_host.EnableRun(true);
    m_host.EnableStop(false);
    m_host.EnableOption(true);
    const core::TDateTime now = core::NowTDateTime();
    if (m_journal.IsOpen() && !m_journal.End(now)) JournalFailed();
    if (graph::TfrmGraph* window = m_host.RealTimeGraphWindow())
        window->EndRealTimeRecording(state.RealTimePointCount, now);
}

void RealTimeRecorder::JournalFailed() {
    qCWarning(core::lcRealTime).noquote()
        << "writing the real-time journal" << m_journal.Path() << "failed:"
        << m_journal.FailureReason();
    if (m_journalFailureTold) return;
    m_journalFailureTold = true;
    // Told once the tick that failed has ended: a message box now would run ticks inside it.
    m_host.TellWhenIdle(kJournalFailedMessage.arg(m_journal.Path(), m_journal.FailureReason()));
}

void RealTimeRecorder::RealTimeGraphSaved() {
    if (!m_host.State().RealTimeRecording) DiscardJournal();
}

void RealTimeRecorder::DiscardJournal() { m_journal.Remove(); }

void RealTimeRecorder::OfferUnsavedRecording() {
    const QString& path = m_journal.Path();
    if (!QFile::exists(path) || core::RealTimeJournalHeldElsewhere(path)) return;
    const std::optional<core::RealTimeJournal> journal = core::ReadRealTimeJournal(path);
    if (!journal) {
        qCWarning(core::lcRealTime).noquote() << "the real-time journal" << path
                                          << "is no journal and was removed";
    }
    if (!journal || journal->Points.empty()) {
        QFile::remove(path);
        return;
    }
    if (journal->DamagedEnd) {
        qCWarning(core::lcRealTime).noquote() << "the real-time journal" << path
                                          << "is damaged after point" << journal->Points.size();
    }
    graph::TfrmGraph* window = m_host.ReopenRealTimeGraph();
    const QString question = kUnsavedRecordingQuestion.arg(journal->Points.size())
                                 .arg(core::DateTimeText(journal->Start.Start, window->Locale()));
    switch (m_prompter.Confirm(m_host.DialogOwner(), question, ui::Prompter::Buttons::YesNo)) {
        case ui::Prompter::Answer::Yes:
            ShowJournal(*journal);
            break;
        case ui::Prompter::Answer::No:
            QFile::remove(path);
            break;
        default:  // not answered: asked again at the next start
            break;
    }
}

void RealTimeRecorder::ShowJournal(const core::RealTimeJournal& journal) {
    core::AppState& state = m_host.State();
    graph::TfrmGraph* window = m_host.ReopenRealTimeGraph();
    graph::RestoreNormal(window);
    const int rateIndex = journal.Start.RateIndex;
    window->SetSamplingRateIndex(rateIndex);
    state.RealTimeRate = core::kRealTimeRates[static_cast<size_t>(rateIndex)].seconds;
    window->BeginRealTimeRecording(journal.Start.RequestedPoints, journal.Start.Start);
    const int taken = static_cast<int>(journal.Points.size());
    for (int i = 0; i < taken; ++i) {
        const core::RealTimeJournalPoint& point = journal.Points[static_cast<size_t>(i)];
        window->ShowRealTimePoint(i, point.Sample, point.Time, state.RealTimeAxisStep);
    }
    state.RealTimePointCount = taken;
    window->EndRealTimeRecording(taken, journal.Stopped.value_or(journal.Points.back().Time));
    state.RealTimeUnsaved = true;
}

}  // namespace kr820::meter
