// SPDX-License-Identifier: MIT
#include "meter/real_time_recorder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QToolButton>
#include <cmath>
#include <limits>

#include "core/alarms/alarm_descriptions.h"
#include "core/graph/graph_texts.h"
#include "core/logging/log_categories.h"
#include "core/realtime/real_time_rates.h"
#include "core/realtime/real_time_sample.h"
#include "core/settings/program_folder.h"
#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "graph/recording_plot.h"
#include "link/live_readings.h"
#include "link/meter_link.h"
#include "link/wait.h"
#include "meter/frm_setup_real_time.h"
#include "meter/meter_host.h"
#include "store/stored_reading_of.h"
#include "store/stored_recording.h"
#include "ui/prompter.h"

namespace kr820::meter {
namespace {

constexpr std::chrono::milliseconds kTickWaitLimit{2500};

}  // namespace

RealTimeRecorder::RealTimeRecorder(MeterHost& host, ui::Prompter& prompter, QString journalPath)
    : m_host(host),
      m_prompter(prompter),
      m_journal(journalPath),
      m_untilStopped(
          QFileInfo(journalPath).dir().filePath(QStringLiteral("RealTimeRecording.store"))) {}

RealTimeRecorder::~RealTimeRecorder() = default;

QString RealTimeRecorder::DefaultStoreFolder() const { return core::DefaultRecordingFolder(); }

void RealTimeRecorder::btnRunClick() {
    core::AppState& state = m_host.State();
    if (!state.Connected) return;

    graph::TfrmGraph* window = m_host.RealTimeGraphWindow();
    if (window) {
        graph::RestoreNormal(window);
        // Only what is not in a file is asked about: not points just saved, not a store.
        if (state.RealTimeRecording || state.RealTimeUnsaved) {
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

    TfrmSetupRealTime setup(window->SamplingRateIndex(), m_host.DialogOwner(), &m_prompter,
                            DefaultStoreFolder());
    state.RealTimeRate =
        core::kRealTimeRates[static_cast<size_t>(std::max(0, window->SamplingRateIndex()))].seconds;
    if (m_prompter.Exec(setup) != QDialog::Accepted) return;
    const RealTimeSetupChoice choice = setup.Choice();
    state.RealTimeRate = core::kRealTimeRates[static_cast<size_t>(choice.RateIndex)].seconds;
    window->SetSamplingRateIndex(choice.RateIndex);
    if (choice.UntilStopped) {
        const QString folder = choice.Folder.isEmpty() ? DefaultStoreFolder() : choice.Folder;
        if (!BeginUntilStopped(*window, folder, choice.RateIndex)) return;
        // The points the graph held were saved or given up: none is offered after a crash.
        m_journal.Remove();
        state.RealTimeRecording = true;
        m_host.EnableRun(false);
        m_host.EnableStop(true);
        m_host.EnableOption(false);
        return;
    }
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
    const core::RealTimeSample sample = core::RealTimeSampleOf(live);
    if (m_untilStopped.Running()) {
        AddStoredPoint(live);
        return;
    }
    window->ShowRealTimePoint(state.RealTimePointCount, sample, now, state.RealTimeAxisStep);
    if (m_journal.IsOpen() && !m_journal.Append({now, sample})) JournalFailed();
    ++state.RealTimePointCount;
    state.RealTimeUnsaved = true;
    // The tick that takes the last point stops the recording itself, without waiting for the
    // tick to end: it is that tick.
    if (state.RealTimePointCount >= window->Chart().Data().Points()) StopRecording();
}

void RealTimeRecorder::MarkAlarm(const core::AlarmEvent& event) {
    if (!m_host.State().RealTimeRecording || event.Change == core::AlarmChange::Acknowledged)
        return;
    graph::TfrmGraph* window = m_host.RealTimeGraphWindow();
    if (!window) return;
    const core::TDateTime x = core::ToTDateTime(event.Time.toLocalTime());
    // At the value that raised or cleared it; a probe fault or a lost meter at its limit's
    // height has none, so at the channel's last value shown.
    const core::LiveReading& live = m_host.Link().Readings().Last();
    const double y = event.Value   ? *event.Value
                     : event.Limit ? *event.Limit
                                   : core::RealTimeSampleOf(live).ChartT1();
    const core::RealTimeJournalMark mark{x, std::isfinite(y) ? y : 0.0,
                                         core::AlarmEventText(event)};
    window->AddRealTimeMark(mark.Time, mark.Y, mark.Text);
    if (m_untilStopped.Running()) {
        if (!m_untilStopped.Mark(event)) StoreFailed();
        return;
    }
    if (m_journal.IsOpen() && !m_journal.AppendMark(mark)) JournalFailed();
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
    if (m_untilStopped.Running()) {
        EndStore();
        // The store keeps every reading: nothing is cut, nothing is left unsaved.
        if (graph::TfrmGraph* window = m_host.RealTimeGraphWindow()) window->EndStoredRecording();
        return;
    }
    if (m_journal.IsOpen() && !m_journal.End(now)) JournalFailed();
    if (graph::TfrmGraph* window = m_host.RealTimeGraphWindow())
        window->EndRealTimeRecording(state.RealTimePointCount, now);
}

void RealTimeRecorder::JournalFailed() {
    qCWarning(core::lcRealTime).noquote() << "writing the real-time journal" << m_journal.Path()
                                          << "failed:" << m_journal.FailureReason();
    if (m_journalFailureTold) return;
    m_journalFailureTold = true;
    // Told once the tick that failed has ended: a message box now would run ticks inside it.
    m_host.TellWhenIdle(kJournalFailedMessage.arg(m_journal.Path(), m_journal.FailureReason()));
}

void RealTimeRecorder::RealTimeGraphSaved() {
    core::AppState& state = m_host.State();
    if (state.RealTimeRecording) return;
    state.RealTimeUnsaved = false;
    DiscardJournal();
}

void RealTimeRecorder::DiscardJournal() {
    // The window closed while recording until stopped: the recording ends, its store stays.
    if (m_untilStopped.Running()) EndStore();
    m_journal.Remove();
}

bool RealTimeRecorder::BeginUntilStopped(graph::TfrmGraph& window, const QString& folder,
                                         int rateIndex) {
    core::AppState& state = m_host.State();
    const core::LiveReading& live = m_host.Link().Readings().Last();
    store::StoreHeader header;
    header.StartMs = m_host.Link().WallClockMs();
    header.RateSeconds = core::kRealTimeRates[static_cast<size_t>(rateIndex)].seconds;
    header.Fahrenheit = live.DisplaysFahrenheit();
    QString error;
    if (!m_untilStopped.Begin(folder, header, &error)) {
        qCWarning(core::lcRealTime).noquote()
            << "the recording store in" << folder << "was not made:" << error;
        m_prompter.Message(m_host.DialogOwner(), kStoreNotMadeMessage.arg(folder, error));
        return false;
    }
    state.RealTimePointCount = 0;
    state.RateTicks = 0;
    // The store is the recording's copy: nothing to save against a crash or on closing.
    state.RealTimeUnsaved = false;
    // Every stretch without readings is a gap in the store, and a line in its list.
    m_linkWatch = std::make_unique<QObject>();
    link::LiveReadings& readings = m_host.Link().Readings();
    readings.FanOut().Attach(core::ReadingStage::Recording, m_linkWatch.get(),
                             {.LinkLost =
                                  [this](qint64 atMs) {
                                      if (!m_untilStopped.LinkLost(atMs)) StoreFailed();
                                  },
                              .LinkRestored =
                                  [this](qint64 atMs) {
                                      if (!m_untilStopped.LinkRestored(atMs)) StoreFailed();
                                  }});
    window.ShowRecording(m_untilStopped.Recording());
    window.ToolBar().tbntClr->setEnabled(false);
    return true;
}

void RealTimeRecorder::AddStoredPoint(const core::LiveReading& live) {
    core::AppState& state = m_host.State();
    // The instant itself: a wall-clock time is ambiguous in the hour the clocks go back.
    const store::StoredReading reading = store::StoredReadingOf(live, m_host.Link().WallClockMs());
    if (!m_untilStopped.Append(reading, m_host.AlarmState())) {
        StoreFailed();
        return;
    }
    if (state.RealTimePointCount < std::numeric_limits<qint32>::max()) ++state.RealTimePointCount;
}

void RealTimeRecorder::EndStore() {
    m_linkWatch.reset();
    m_untilStopped.Stop(m_host.Link().WallClockMs());
}

void RealTimeRecorder::StoreFailed() {
    if (!m_untilStopped.Running()) return;
    const QString reason = m_untilStopped.FailureReason();
    const QString path = m_untilStopped.Path();
    qCWarning(core::lcRealTime).noquote() << "writing" << path << "failed:" << reason;
    StopRecording();
    m_host.TellWhenIdle(kStoreFailedMessage.arg(path, reason));
}

void RealTimeRecorder::OfferLeftOverStores() {
    // One question at a time; after a Yes the rest wait for the next start, so that one shown is
    // not replaced by the next.
    for (const LeftOverStore& left : m_untilStopped.LeftOverStores()) {
        QString error;
        auto recording = store::StoredRecording::Open(left.Store, &error);
        if (!recording) {
            qCWarning(core::lcRealTime).noquote()
                << "the left-over recording" << left.Store << "does not read:" << error;
            continue;
        }
        graph::TfrmGraph* window = m_host.ReopenRealTimeGraph();
        const QString question =
            kLeftOverStoreQuestion.arg(recording->Count())
                .arg(core::DateTimeText(graph::ChartTimeOfMs(recording->Header().StartMs),
                                        window->Locale()),
                     left.Store);
        recording.reset();
        const ui::Prompter::Answer answer =
            m_prompter.Confirm(m_host.DialogOwner(), question, ui::Prompter::Buttons::YesNo);
        if (answer != ui::Prompter::Answer::Yes && answer != ui::Prompter::Answer::No) continue;
        // Either way it is stopped where it ended, and kept: it is the recording's only copy.
        auto closed = m_untilStopped.CloseLeftOver(left, &error);
        if (!closed) {
            qCWarning(core::lcRealTime).noquote()
                << "the left-over recording" << left.Store << "was not closed:" << error;
            continue;
        }
        if (answer == ui::Prompter::Answer::Yes) {
            graph::RestoreNormal(window);
            window->ShowRecording(std::move(closed));
            window->EndStoredRecording();
            return;
        }
    }
}

void RealTimeRecorder::OfferUnsavedRecording() {
    OfferLeftOverStores();
    const QString& path = m_journal.Path();
    if (!QFile::exists(path) || core::RealTimeJournalHeldElsewhere(path)) return;
    const std::optional<core::RealTimeJournal> journal = core::ReadRealTimeJournal(path);
    if (!journal) {
        qCWarning(core::lcRealTime).noquote()
            << "the real-time journal" << path << "is no journal and was removed";
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
    for (const core::RealTimeJournalMark& mark : journal.Marks)
        window->AddRealTimeMark(mark.Time, mark.Y, mark.Text);
    state.RealTimePointCount = taken;
    window->EndRealTimeRecording(taken, journal.Stopped.value_or(journal.Points.back().Time));
    state.RealTimeUnsaved = true;
}

}  // namespace kr820::meter
