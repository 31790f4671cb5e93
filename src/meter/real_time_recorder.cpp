// SPDX-License-Identifier: MIT
#include "meter/real_time_recorder.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QObject>
#include <QToolButton>
#include <algorithm>
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
#include "store/alarm_marks.h"
#include "store/store_reader.h"
#include "store/stored_reading_of.h"
#include "store/stored_recording.h"
#include "ui/prompter.h"

namespace kr820::meter {
namespace {

constexpr std::chrono::milliseconds kTickWaitLimit{2500};

// The tick's time as the link hands it to the recorder, for an instant kept in a store.
core::TDateTime TickTimeOfMs(qint64 ms) {
    return core::ToTDateTime(QDateTime::fromMSecsSinceEpoch(ms));
}

// A fixed-length recording's point as its store keeps it: with the recorder's own out-of-range
// flags, so that it comes back as it was shown.
store::StoredReading StoredPointOf(const core::RealTimeSample& sample, qint64 timeMs) {
    store::StoredReading reading;
    reading.TimeMs = timeMs;
    reading.T1 = sample.T1;
    reading.T2 = sample.T2;
    reading.T1Valid = !sample.T1OutOfRange;
    reading.T2Valid = !sample.T2OutOfRange;
    reading.Fahrenheit = sample.Unit == 'F';
    return reading;
}

core::RealTimeSample SampleOfStoredPoint(const store::StoredReading& reading) {
    return {reading.T1, reading.T2, !reading.T1Valid, !reading.T2Valid,
            reading.Fahrenheit ? 'F' : 'C'};
}

}  // namespace

RealTimeRecorder::RealTimeRecorder(MeterHost& host, ui::Prompter& prompter, QString programFolder)
    : m_host(host),
      m_prompter(prompter),
      m_unsavedFolder(QDir(programFolder).filePath(QStringLiteral("unsaved"))),
      m_store(QDir(programFolder).filePath(QStringLiteral("RealTimeRecording.store"))) {}

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
    // The points the graph held were saved or given up: none is offered after a crash.
    m_store.Discard();
    if (choice.UntilStopped) {
        const QString folder = choice.Folder.isEmpty() ? DefaultStoreFolder() : choice.Folder;
        if (!BeginUntilStopped(*window, folder, choice.RateIndex)) return;
        state.RealTimeRecording = true;
        m_host.StateChanged();
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
    BeginFixedLengthStore(*points, start, choice.RateIndex);
    state.RealTimeRecording = true;
    m_host.StateChanged();
}

void RealTimeRecorder::AddRealTimePoint(core::TDateTime now) {
    core::AppState& state = m_host.State();
    graph::TfrmGraph* window = m_host.RealTimeGraphWindow();
    if (!window) return;
    if (RecordingUntilStopped()) {
        AddStoredPoint();
        return;
    }
    const core::LiveReading& live = m_host.Link().Readings().Last();
    const core::RealTimeSample sample = core::RealTimeSampleOf(live);
    window->ShowRealTimePoint(state.RealTimePointCount, sample, now, state.RealTimeAxisStep);
    if (m_store.Running() &&
        !m_store.Append(StoredPointOf(sample, graph::MsOfChartTime(now)), m_host.AlarmState()))
        KeepingFailed();
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
    window->AddRealTimeMark(x, std::isfinite(y) ? y : 0.0, core::AlarmEventText(event));
    if (m_store.Running() && !m_store.Mark(event)) WritingFailed();
}

void RealTimeRecorder::btnStopClick() {
    core::AppState& state = m_host.State();
    link::WaitWhile([&state] { return state.TimerBusy; }, kTickWaitLimit);
    StopRecording();
}

void RealTimeRecorder::StopRecording() {
    core::AppState& state = m_host.State();
    state.RealTimeRecording = false;
    m_host.StateChanged();
    const core::TDateTime now = core::NowTDateTime();
    if (RecordingUntilStopped()) {
        EndStore();
        // The store keeps every reading: nothing is cut, nothing is left unsaved.
        if (graph::TfrmGraph* window = m_host.RealTimeGraphWindow()) window->EndStoredRecording();
        return;
    }
    EndStore();
    if (graph::TfrmGraph* window = m_host.RealTimeGraphWindow())
        window->EndRealTimeRecording(state.RealTimePointCount, now);
}

void RealTimeRecorder::BeginFixedLengthStore(int points, core::TDateTime start, int rateIndex) {
    m_keepingFailureTold = false;
    const core::LiveReading& live = m_host.Link().Readings().Last();
    store::StoreHeader header;
    header.StartMs = graph::MsOfChartTime(start);
    header.RateSeconds = core::kRealTimeRates[static_cast<size_t>(rateIndex)].seconds;
    header.PointsAsked = points;
    header.Fahrenheit = live.DisplaysFahrenheit();
    QString error;
    if (!m_store.Begin(m_unsavedFolder, header, &error)) {
        qCWarning(core::lcRealTime).noquote()
            << "the real-time recording's store in" << m_unsavedFolder << "was not made:" << error;
        TellKeepingFailed(m_unsavedFolder, error);
        return;
    }
    WatchLink();
}

void RealTimeRecorder::KeepingFailed() {
    const QString path = m_store.Path();
    const QString reason = m_store.FailureReason();
    qCWarning(core::lcRealTime).noquote()
        << "writing the real-time recording's store" << path << "failed:" << reason;
    // Nothing more is written: what the store holds stays readable.
    EndStore();
    TellKeepingFailed(path, reason);
}

void RealTimeRecorder::TellKeepingFailed(const QString& path, const QString& reason) {
    if (m_keepingFailureTold) return;
    m_keepingFailureTold = true;
    // Told once the tick that failed has ended: a message box now would run ticks inside it.
    m_host.TellWhenIdle(kKeepingFailedMessage.arg(path, reason));
}

void RealTimeRecorder::WritingFailed() {
    if (RecordingUntilStopped())
        StoreFailed();
    else
        KeepingFailed();
}

void RealTimeRecorder::RealTimeGraphSaved() {
    core::AppState& state = m_host.State();
    if (state.RealTimeRecording) return;
    DiscardUnsavedPoints();
}

void RealTimeRecorder::DiscardUnsavedPoints() {
    m_host.State().RealTimeUnsaved = false;
    // The window closed while recording until stopped: the recording ends, its store stays.
    if (RecordingUntilStopped()) EndStore();
    m_linkWatch.reset();
    m_store.Discard();
}

void RealTimeRecorder::RealTimeGraphClosed() {
    core::AppState& state = m_host.State();
    DiscardUnsavedPoints();
    state.RealTimeRecording = false;
    state.RealTimePointCount = 0;
    m_host.StateChanged();
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
    if (!m_store.Begin(folder, header, &error)) {
        qCWarning(core::lcRealTime).noquote()
            << "the recording store in" << folder << "was not made:" << error;
        m_prompter.Message(m_host.DialogOwner(), kStoreNotMadeMessage.arg(folder, error));
        return false;
    }
    state.RealTimePointCount = 0;
    state.RateTicks = 0;
    // The store is the recording's copy: nothing to save against a crash or on closing.
    state.RealTimeUnsaved = false;
    WatchLink();
    window.ShowRecording(m_store.Recording());
    window.ToolBar().tbntClr->setEnabled(false);
    return true;
}

void RealTimeRecorder::WatchLink() {
    // Every stretch without readings is a gap in the store, and a line in its list.
    m_linkWatch = std::make_unique<QObject>();
    link::LiveReadings& readings = m_host.Link().Readings();
    readings.FanOut().Attach(core::ReadingStage::Recording, m_linkWatch.get(),
                             {.LinkLost =
                                  [this](qint64 atMs) {
                                      if (!m_store.LinkLost(atMs)) WritingFailed();
                                  },
                              .LinkRestored =
                                  [this](qint64 atMs) {
                                      if (!m_store.LinkRestored(atMs)) WritingFailed();
                                  }});
}

void RealTimeRecorder::AddStoredPoint() {
    core::AppState& state = m_host.State();
    // The instant itself: a wall-clock time is ambiguous in the hour the clocks go back.
    const store::StoredReading reading =
        store::StoredReadingOf(m_host.Link().Readings().Last(), m_host.Link().WallClockMs());
    if (!m_store.Append(reading, m_host.AlarmState())) {
        StoreFailed();
        return;
    }
    if (state.RealTimePointCount < std::numeric_limits<qint32>::max()) ++state.RealTimePointCount;
}

void RealTimeRecorder::EndStore() {
    m_linkWatch.reset();
    m_store.Stop(m_host.Link().WallClockMs());
}

void RealTimeRecorder::StoreFailed() {
    if (!RecordingUntilStopped()) return;
    const QString reason = m_store.FailureReason();
    const QString path = m_store.Path();
    qCWarning(core::lcRealTime).noquote() << "writing" << path << "failed:" << reason;
    StopRecording();
    m_host.TellWhenIdle(kStoreFailedMessage.arg(path, reason));
}

void RealTimeRecorder::OfferLeftOverRecordings() {
    // Oldest first, one question at a time.
    for (const LeftOverStore& left : m_store.LeftOverStores())
        if (!OfferLeftOver(left)) return;
}

bool RealTimeRecorder::OfferLeftOver(const LeftOverStore& left) {
    QString error;
    // Stopped where it ended before it is read or shown: a store another program still writes
    // is no left-over and is not asked about.
    if (!RecordingInStore::StopLeftOver(left, &error)) {
        qCWarning(core::lcRealTime).noquote()
            << "the left-over recording" << left.Store << "was not closed:" << error;
        return true;
    }
    auto recording = store::StoredRecording::Open(left.Store, &error);
    if (!recording) {
        qCWarning(core::lcRealTime).noquote()
            << "the left-over recording" << left.Store << "does not read:" << error;
        return true;
    }
    const store::StoreHeader header = recording->Header();
    const qint64 count = recording->Count();
    recording.reset();
    const bool fixedLength = header.PointsAsked.has_value();
    if (fixedLength && count == 0) {  // nothing was taken: nothing to offer
        RecordingInStore::RemoveLeftOver(left);
        return true;
    }
    graph::TfrmGraph* window = m_host.ReopenRealTimeGraph();
    const QString start = core::DateTimeText(
        core::ToTDateTime(QDateTime::fromMSecsSinceEpoch(header.StartMs)), window->Locale());
    const QString question = fixedLength ? kUnsavedRecordingQuestion.arg(count).arg(start)
                                         : kLeftOverStoreQuestion.arg(count).arg(start, left.Store);
    const ui::Prompter::Answer answer =
        m_prompter.Confirm(m_host.DialogOwner(), question, ui::Prompter::Buttons::YesNo);
    if (answer != ui::Prompter::Answer::Yes && answer != ui::Prompter::Answer::No)
        return true;  // not answered: asked again at the next start
    if (answer == ui::Prompter::Answer::No) {
        // Given up are only a fixed-length recording's points; a store until stopped is the
        // recording's only copy and stays where it is.
        if (fixedLength)
            RecordingInStore::RemoveLeftOver(left);
        else
            RecordingInStore::ForgetLeftOver(left);
        return true;
    }
    // What the graph shows now is replaced only once saved or given up.
    if (!ReplaceShownPoints(*window)) return false;
    if (!fixedLength) {
        auto closed = store::StoredRecording::Open(left.Store, &error);
        if (!closed) return true;
        RecordingInStore::ForgetLeftOver(left);
        m_store.Discard();
        graph::RestoreNormal(window);
        window->ShowRecording(std::move(closed));
        window->EndStoredRecording();
        return true;
    }
    return ShowLeftOverFixedLength(left);
}

bool RealTimeRecorder::ReplaceShownPoints(graph::TfrmGraph& window) {
    core::AppState& state = m_host.State();
    if (!state.RealTimeUnsaved) return true;
    const ui::Prompter::Answer answer = m_prompter.Confirm(m_host.DialogOwner(), kResetQuestion,
                                                           ui::Prompter::Buttons::YesNoCancel);
    if (answer == ui::Prompter::Answer::Cancel) return false;
    if (answer == ui::Prompter::Answer::Yes && !m_host.SaveSingleSet(window)) return false;
    state.RealTimeUnsaved = false;
    m_store.Discard();
    return true;
}

bool RealTimeRecorder::ShowLeftOverFixedLength(const LeftOverStore& left) {
    QString error;
    std::unique_ptr<store::StoreReader> reader = store::StoreReader::Open(left.Store, &error);
    if (!reader) return true;
    const store::StoreHeader& header = reader->Header();
    core::AppState& state = m_host.State();
    graph::TfrmGraph* window = m_host.ReopenRealTimeGraph();
    graph::RestoreNormal(window);
    const auto rate = std::find_if(core::kRealTimeRates.begin(), core::kRealTimeRates.end(),
                                   [&](const auto& r) { return r.seconds == header.RateSeconds; });
    const int rateIndex =
        rate == core::kRealTimeRates.end() ? 0 : int(rate - core::kRealTimeRates.begin());
    window->SetSamplingRateIndex(rateIndex);
    state.RealTimeRate = core::kRealTimeRates[static_cast<size_t>(rateIndex)].seconds;
    // A damaged header asks for no more than a chart holds.
    const int asked = int(
        std::clamp<qint64>(header.PointsAsked.value_or(1), 1, qint64(core::ChartData::kMaxPoints)));
    window->BeginRealTimeRecording(asked, TickTimeOfMs(header.StartMs));
    int taken = 0;
    core::TDateTime last = TickTimeOfMs(header.StartMs);
    std::vector<store::StoredReading> readings;
    reader->ForEach(0, std::min<qint64>(reader->Count(), asked),
                    [&](qint64, const store::StoredReading& r) {
                        readings.push_back(r);
                        return true;
                    });
    for (const store::StoredReading& r : readings) {
        last = TickTimeOfMs(r.TimeMs);
        window->ShowRealTimePoint(taken++, SampleOfStoredPoint(r), last, state.RealTimeAxisStep);
    }
    const core::DisplayUnit unit =
        header.Fahrenheit ? core::DisplayUnit::Fahrenheit : core::DisplayUnit::Celsius;
    for (const store::AlarmMark& mark : reader->AlarmMarks(std::numeric_limits<qint64>::min(),
                                                           std::numeric_limits<qint64>::max())) {
        const std::optional<core::AlarmEvent> event = store::AlarmEventOfMark(mark, unit);
        if (!event) continue;
        // At the value that raised or cleared it, its limit, or T1 then.
        const qint64 at = std::max<qint64>(0, reader->LowerBound(mark.TimeMs + 1) - 1);
        const auto reading = reader->At(at);
        const double y = mark.Value   ? *mark.Value
                         : mark.Limit ? *mark.Limit
                         : reading    ? SampleOfStoredPoint(*reading).ChartT1()
                                      : 0.0;
        window->AddRealTimeMark(TickTimeOfMs(mark.TimeMs), std::isfinite(y) ? y : 0.0,
                                core::AlarmEventText(*event));
    }
    state.RealTimePointCount = taken;
    window->EndRealTimeRecording(taken, header.StoppedMs ? TickTimeOfMs(*header.StoppedMs) : last);
    state.RealTimeUnsaved = true;
    m_store.TakeUp(left);
    return true;
}

}  // namespace kr820::meter
