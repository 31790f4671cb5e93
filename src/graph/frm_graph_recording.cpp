// SPDX-License-Identifier: MIT
// A graph window over a recording in its store: the chart holds only what the store's draw query
// gives for the shown range and width, the statistics come from the envelopes and the list reads
// the store, so that a recording of any length opens at once in bounded memory.
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QToolButton>
#include <array>
#include <limits>

#include "core/alarms/alarm_descriptions.h"
#include "core/chart/chart_model.h"
#include "core/files/graph_file.h"
#include "core/graph/fit_range.h"
#include "core/graph/graph_statistics.h"
#include "core/graph/graph_texts.h"
#include "core/realtime/real_time_rates.h"
#include "graph/chart_view.h"
#include "graph/configure_graph.h"
#include "graph/data_list_model.h"
#include "graph/frm_graph.h"
#include "graph/plot_series.h"
#include "graph/recording_list_model.h"
#include "graph/recording_plot.h"
#include "store/alarm_marks.h"
#include "store/extreme_search.h"
#include "store/stored_recording.h"

namespace kr820::graph {
namespace {

// An empty recording shows as much time as a new real-time graph.
constexpr qint64 kEmptySpanMs = 110'000;

const store::ChannelSpan& SpanOf(const store::Envelope& envelope, int channel) {
    return channel == 0 ? envelope.T1 : envelope.T2;
}

}  // namespace

void TfrmGraph::ShowRecording(std::shared_ptr<store::StoredRecording> recording) {
    LeaveRecording();
    m_recording = std::move(recording);
    const store::StoreHeader& header = m_recording->Header();
    m_unit = header.Fahrenheit ? QStringLiteral("F") : QStringLiteral("C");

    const qint64 count = m_recording->Count();
    const auto first = count > 0 ? m_recording->Reader().At(0) : std::nullopt;
    const auto last = count > 0 ? m_recording->Reader().At(count - 1) : std::nullopt;
    const qint64 fromMs = first ? first->TimeMs : header.StartMs;
    const qint64 toMs = last && last->TimeMs > fromMs ? last->TimeMs : fromMs + kEmptySpanMs;
    ConfigureGraph(m_chart, ScaleFile(), 2, 0, ChartTimeOfMs(fromMs), ChartTimeOfMs(toMs), -10, 50);
    FollowSplitState();
    ShowStoredAlarmMarks();

    m_recordingList = new RecordingListModel(m_recording, m_locale, this);
    m_dataListView->setModel(m_recordingList);
    connect(m_dataListView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] {
                if (!m_selectingByProgram) ListBox1Click();
            });
    connect(m_recording.get(), &store::StoredRecording::grown, this, &TfrmGraph::FollowRecording);
    // Whatever moved the shown range or its width (a zoom, the wheel, Undo Zoom, a resize), the
    // chart is planned again for it once the picture is drawn.
    connect(m_view, &QCustomPlot::afterReplot, this, &TfrmGraph::PlanRecordingIfMoved,
            Qt::UniqueConnection);

    m_planned.reset();
    m_txtSamplingRate->setEditText(core::MmSsText(header.RateSeconds));
    UpdateRecordingStatistics();
    m_chart.PEactions(core::ChartAction::sgUndoZoom);
    PlanRecording();
}

void TfrmGraph::ShowStoredAlarmMarks() {
    constexpr core::RgbColor kMarkColor = 0xFF3030;
    const core::DisplayUnit unit = m_recording->Header().Fahrenheit ? core::DisplayUnit::Fahrenheit
                                                                    : core::DisplayUnit::Celsius;
    core::ChartAnnotations& annotations = m_chart.Annotations();
    int index = std::max(4, annotations.GraphAnnotationCount());
    const std::vector<store::AlarmMark> marks = m_recording->Reader().AlarmMarks(
        std::numeric_limits<qint64>::min(), std::numeric_limits<qint64>::max());
    for (const store::AlarmMark& mark : marks) {
        const std::optional<core::AlarmEvent> event = store::AlarmEventOfMark(mark, unit);
        if (!event) continue;
        core::GraphAnnotation* slot = annotations.EditGraphAnnotation(index++);
        if (!slot) break;  // the chart holds no more; the store keeps them all
        // At the value that raised or cleared it, or at its limit.
        const double y = mark.Value ? *mark.Value : mark.Limit.value_or(0.0);
        *slot = {core::kAnnotationText,
                 ChartTimeOfMs(mark.TimeMs),
                 y,
                 core::AlarmEventText(*event),
                 kMarkColor,
                 0};
    }
}

void TfrmGraph::EndStoredRecording() {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->showNormal();
    m_tools.tbntClr->setEnabled(true);
    if (m_recording) FollowRecording();
}

void TfrmGraph::LeaveRecording() {
    if (!m_recording) return;
    disconnect(m_recording.get(), nullptr, this, nullptr);
    m_recording.reset();
    m_planned.reset();
    m_dataListView->setModel(m_dataList);
    connect(m_dataListView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] {
                if (!m_selectingByProgram) ListBox1Click();
            });
    delete m_recordingList;
    m_recordingList = nullptr;
}

void TfrmGraph::FollowRecording() {
    if (!m_recording) return;
    const qint64 count = m_recording->Count();
    if (const auto last = count > 0 ? m_recording->Reader().At(count - 1) : std::nullopt) {
        // The time axis grows with the recording, as the real-time graph's does.
        core::ChartAxes& axes = m_chart.Axes();
        const core::TDateTime lastTime = ChartTimeOfMs(last->TimeMs);
        if (axes.ManualMaxX() < lastTime) axes.SetManualMaxX(lastTime);
    }
    m_recordingList->FollowRecording();
    UpdateRecordingStatistics();
    PlanRecording();
}

std::optional<std::pair<qint64, qint64>> TfrmGraph::ShownTimesMs() const {
    const QCPAxisRect* rect = m_view->Drawing().BandRect(0);
    if (!rect) return std::nullopt;
    const QCPRange keys = rect->axis(QCPAxis::atBottom)->range();
    const bool dateTimes = m_view->Drawing().DateTimes();
    return std::pair{MsOfChartTime(ChartX(keys.lower, dateTimes)),
                     MsOfChartTime(ChartX(keys.upper, dateTimes))};
}

std::optional<TfrmGraph::PlannedView> TfrmGraph::ShownView() const {
    const ChartDrawing& drawing = m_view->Drawing();
    const QCPAxisRect* rect = drawing.BandRect(0);
    const int pixels = drawing.PlottingRect().width();
    if (!rect || pixels <= 0) return std::nullopt;
    const QCPRange keys = rect->axis(QCPAxis::atBottom)->range();
    const bool dateTimes = drawing.DateTimes();
    return PlannedView{MsOfChartTime(ChartX(keys.lower, dateTimes)),
                       MsOfChartTime(ChartX(keys.upper, dateTimes)), pixels, m_recording->Count()};
}

void TfrmGraph::PlanRecordingIfMoved() {
    if (!m_recording || m_planPending) return;
    const std::optional<PlannedView> shown = ShownView();
    if (!shown || shown == m_planned) return;
    // Not from inside the plot's own replot.
    m_planPending = true;
    QMetaObject::invokeMethod(this, &TfrmGraph::PlanRecording, Qt::QueuedConnection);
}

void TfrmGraph::PlanRecording() {
    m_planPending = false;
    if (!m_recording) return;
    std::optional<PlannedView> view = ShownView();
    if (!view) {
        // Not laid out yet: the whole time axis over a guess of the width, planned again once
        // drawn.
        const core::ChartAxes& axes = m_chart.Axes();
        view = PlannedView{MsOfChartTime(axes.ManualMinX()), MsOfChartTime(axes.ManualMaxX()),
                           m_view->width(), m_recording->Count()};
    }
    const std::optional<store::DrawPlan> plan =
        m_recording->Reader().Draw(view->FromMs, view->ToMs, std::max(view->Pixels, 1));
    if (!plan) return;  // a block that does not read leaves the last picture
    m_planned = view;
    // Single readings break where readings are missing; columns break by themselves.
    m_chart.Settings().LineGapThreshold =
        plan->DrawsPoints ? core::ReadingGapThreshold(m_recording->Header().RateSeconds) : 0;
    LayPlanOnChart(*plan, m_chart.Data());
    m_chart.Redraw();
}

void TfrmGraph::UpdateRecordingStatistics() {
    store::StoreReader& reader = m_recording->Reader();
    const qint64 count = reader.Count();
    m_txtDataNo->setText(QString::number(count));
    const std::array<QLineEdit*, 6> boxes{m_txtT1Max, m_txtT1Min, m_txtT1Avg,
                                          m_txtT2Max, m_txtT2Min, m_txtT2Avg};
    const auto first = count > 0 ? reader.At(0) : std::nullopt;
    const std::optional<store::Envelope> summary = reader.Summarize(0, count);
    if (!first || !summary) {
        m_txtStartTime->setText(
            core::DateTimeText(ChartTimeOfMs(m_recording->Header().StartMs), m_locale));
        for (QLineEdit* box : boxes) box->clear();
        return;
    }
    m_txtStartTime->setText(core::DateTimeText(ChartTimeOfMs(first->TimeMs), m_locale));
    const auto timeOf = [&](int channel, store::Extreme extreme, float value) {
        const auto index = store::FirstReadingWith(reader, channel, extreme, value);
        const auto reading = index ? reader.At(*index) : std::nullopt;
        return reading ? ChartTimeOfMs(reading->TimeMs) : core::TDateTime(0);
    };
    for (int channel = 0; channel < 2; ++channel) {
        const store::ChannelSpan& span = SpanOf(*summary, channel);
        core::ChannelStatistics c;  // a channel without a valid value shows "OL" and "****"
        if (!span.Empty()) {
            c.Maximum = span.Max;
            c.MaximumTime = timeOf(channel, store::Extreme::Maximum, span.Max);
            c.Minimum = span.Min;
            c.MinimumTime = timeOf(channel, store::Extreme::Minimum, span.Min);
            c.Sum = float(span.Sum);
            c.Count = int(std::min<quint32>(span.Count, std::numeric_limits<int>::max()));
        }
        boxes[std::size_t(channel * 3)]->setText(
            core::ExtremeText(c.Maximum, c.MaximumTime, m_locale));
        boxes[std::size_t(channel * 3 + 1)]->setText(
            core::ExtremeText(c.Minimum, c.MinimumTime, m_locale));
        boxes[std::size_t(channel * 3 + 2)]->setText(core::AverageText(c, m_locale));
    }
}

TfrmGraph::ChannelRanges TfrmGraph::RecordingFittedRanges() {
    const core::ChartAxes& axes = m_chart.Axes();
    store::StoreReader& reader = m_recording->Reader();
    const qint64 first = reader.LowerBound(MsOfChartTime(axes.ManualMinX()));
    const qint64 end = reader.LowerBound(MsOfChartTime(axes.ManualMaxX()) + 1);
    const std::optional<store::Envelope> summary = reader.Summarize(first, end);
    if (!summary) return {};
    const auto fitted = [&](int channel) -> std::optional<core::YRange> {
        const store::ChannelSpan& span = SpanOf(*summary, channel);
        if (span.Empty()) return std::nullopt;
        const std::array<core::TDateTime, 2> x{1, 1};
        const std::array<float, 2> y{span.Min, span.Max};
        return core::FittedRange(x, y, 1, 1, m_chart.Settings().NullDataValueY);
    };
    return {fitted(0), fitted(1)};
}

core::WriteOutcome TfrmGraph::WriteRecordingGraphFile(const QString& path, int points) {
    // The file keeps the chart's own block: for its time the chart holds the readings.
    core::ChartData& data = m_chart.Data();
    const core::ChartData drawn = data;
    data.SetPoints(points);
    int taken = 0;
    m_recording->Reader().ForEach(0, points, [&](qint64 index, const store::StoredReading& r) {
        const int i = int(index);
        const core::TDateTime x = ChartTimeOfMs(r.TimeMs);
        data.SetXDataII(0, i, x);
        data.SetXDataII(1, i, x);
        data.SetYData(0, i, ChartValue(r.T1, r.T1Valid));
        data.SetYData(1, i, ChartValue(r.T2, r.T2Valid));
        ++taken;
        return true;
    });
    core::WriteOutcome outcome;
    if (taken < points) {
        outcome.Status = core::WriteStatus::WriteFailed;
        outcome.Reason = m_recording->Reader().Failure();
    } else {
        outcome = core::WriteGraphFile(m_chart, path);
    }
    data = drawn;
    return outcome;
}

std::optional<qint64> TfrmGraph::RecordingIndexOfChartPoint(int point) {
    const core::ChartData& data = m_chart.Data();
    if (point < 0 || point >= data.Points()) return std::nullopt;
    return m_recording->Reader().Nearest(MsOfChartTime(data.XDataII(0, point)));
}

}  // namespace kr820::graph
