// SPDX-License-Identifier: MIT
#include "meter/real_time_recorder.h"

#include "core/realtime/real_time_rates.h"
#include "core/realtime/real_time_sample.h"
#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "link/wait.h"
#include "meter/frm_setup_real_time.h"
#include "meter/meter_host.h"
#include "ui/prompter.h"

namespace kr820::meter {
namespace {

constexpr std::chrono::milliseconds kTickWaitLimit{2500};

}  // namespace

RealTimeRecorder::RealTimeRecorder(MeterHost& host, ui::Prompter& prompter)
    : m_host(host), m_prompter(prompter) {}

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

    TfrmSetupRealTime setup(window->SamplingRateIndex(), m_host.DialogOwner());
    state.RealTimeRate =
        core::kRealTimeRates[static_cast<size_t>(std::max(0, window->SamplingRateIndex()))].seconds;
    if (m_prompter.Exec(setup) != QDialog::Accepted) return;
    const RealTimeSetupChoice choice = setup.Choice();
    state.RealTimeRate = core::kRealTimeRates[static_cast<size_t>(choice.RateIndex)].seconds;
    window->SetSamplingRateIndex(choice.RateIndex);
    const QString entered = choice.Points.trimmed();
    bool ok = false;
    const int points = entered.toInt(&ok);
    // Zero points would make a recording that stops at its first sample.
    if (!ok || points <= 0) {
        m_prompter.Message(m_host.DialogOwner(), entered + kNotValidSuffix);
        return;
    }

    state.RealTimePointCount = 0;
    state.RateTicks = 0;
    window->BeginRealTimeRecording(points, core::NowTDateTime());
    state.RealTimeRecording = true;
    m_host.EnableRun(false);
    m_host.EnableStop(true);
    m_host.EnableOption(false);
}

void RealTimeRecorder::AddRealTimePoint(core::TDateTime now) {
    core::AppState& state = m_host.State();
    graph::TfrmGraph* window = m_host.RealTimeGraphWindow();
    if (!window) return;
    const core::LiveReading& live = state.LiveReading;
    const core::RealTimeSample sample =
        core::MakeRealTimeSample(live.Status, live.Invalid, live.Value(core::LiveValue::T1),
                                 live.Value(core::LiveValue::T2));
    window->ShowRealTimePoint(state.RealTimePointCount, sample, now, state.RealTimeAxisStep);
    ++state.RealTimePointCount;
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
    if (graph::TfrmGraph* window = m_host.RealTimeGraphWindow())
        window->EndRealTimeRecording(state.RealTimePointCount, core::NowTDateTime());
}

}  // namespace kr820::meter
