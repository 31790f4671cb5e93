// SPDX-License-Identifier: MIT
// The real-time role while a recording runs: what each sample changes in the window. Pacing and
// the recording's flags belong to the recorder; this only shows.
#include <QComboBox>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

#include "core/chart/chart_model.h"
#include "core/data/limit_values.h"
#include "core/graph/graph_statistics.h"
#include "core/graph/graph_texts.h"
#include "core/realtime/real_time_rates.h"
#include "core/state/app_state.h"
#include "graph/data_list_model.h"
#include "graph/frm_graph.h"
#include "ui/prompter.h"

namespace kr820::graph {
namespace {

constexpr core::TDateTime kFirstAxisSpan = 100.0 / core::kSecondsPerDay;

QString AverageBoxText(std::span<const float> values, const QLocale& locale) {
    const std::optional<double> mean = core::AverageWithinLimits(values);
    return mean ? core::DisplayLocale(locale).toString(*mean, 'f', 3) : QStringLiteral("****");
}

}  // namespace

void TfrmGraph::ClearGraph() {
    LeaveRecording();
    core::ChartData& data = m_chart.Data();
    data.SetXDataII(core::ChartData::kAll, core::ChartData::kAll, 0);
    data.SetYDataII(core::ChartData::kAll, core::ChartData::kAll, core::OverLimitValue);
    for (QLineEdit* box :
         {m_txtDataNo, m_txtT1Max, m_txtT2Max, m_txtT1Min, m_txtT2Min, m_txtT1Avg, m_txtT2Avg})
        box->clear();
    HidePointCursor();
    if (m_context) {
        m_context->State.RealTimePointCount = 0;
        // Placed annotations go out of every shown time range; the next one takes index 4 again.
        SharedGraphTools& tools = m_context->Tools;
        for (int j = 3; j <= tools.LastAnnotationIndex; ++j) {
            if (core::GraphAnnotation* annotation = m_chart.Annotations().EditGraphAnnotation(j)) {
                annotation->X = 0;
                annotation->Y = 0;
            }
        }
        tools.LastAnnotationIndex = 3;
    }
    m_chart.Redraw();
}

void TfrmGraph::tbntClrClick() {
    if (m_context) {
        // With a Cancel button the box's Escape and its close button mean Cancel, never No.
        const ui::Prompter::Answer answer = m_context->Prompter.Confirm(
            this, QStringLiteral("Save Real-Time Graph ?"), ui::Prompter::Buttons::YesNoCancel);
        switch (answer) {
            case ui::Prompter::Answer::Yes:
                // The points are wanted: without a file written they stay.
                if (!m_context->Commands.SaveSingleSet || !m_context->Commands.SaveSingleSet(*this))
                    return;
                break;
            case ui::Prompter::Answer::No:
                break;
            default:  // only No gives the points up
                return;
        }
        if (m_context->Commands.DiscardRealTimePoints) m_context->Commands.DiscardRealTimePoints();
    }
    m_chart.PEactions(core::ChartAction::sgUndoZoom);
    m_tools.UndoZoom->setEnabled(false);
    ClearGraph();
    ClearDataList();
}

int TfrmGraph::SamplingRateIndex() const { return m_txtSamplingRate->currentIndex(); }
void TfrmGraph::SetSamplingRateIndex(int index) { m_txtSamplingRate->setCurrentIndex(index); }

void TfrmGraph::BeginRealTimeRecording(int points, core::TDateTime now) {
    LeaveRecording();
    core::ChartData& data = m_chart.Data();
    data.SetPoints(points);
    data.SetXDataII(core::ChartData::kAll, core::ChartData::kAll, 0);
    data.SetYDataII(core::ChartData::kAll, core::ChartData::kAll,
                    m_chart.Settings().NullDataValueY);
    m_extremes = {};
    ClearDataList();
    // The list starts again, so a cursor on an old point would point at nothing.
    HidePointCursor();
    for (QLineEdit* box : {m_txtT1Max, m_txtT1Min, m_txtT1Avg, m_txtT2Max, m_txtT2Min, m_txtT2Avg})
        box->clear();
    m_txtDataNo->setText(QStringLiteral("0"));
    m_txtStartTime->setText(core::DateTimeText(now, m_locale));
    core::ChartAxes& axes = m_chart.Axes();
    axes.SetManualScaleControlX(core::ManualScale::sgManualMinAndMax);
    axes.SetManualMinX(now);
    axes.SetManualMaxX(now + kFirstAxisSpan);
    m_tools.tbntClr->setEnabled(false);
    // Readings missed while the link was lost (or the ticks stopped) break the line.
    const int rateIndex = std::clamp(SamplingRateIndex(), 0, int(core::kRealTimeRates.size()) - 1);
    m_chart.Settings().LineGapThreshold = core::ReadingGapThreshold(
        core::kRealTimeRates[static_cast<std::size_t>(rateIndex)].seconds);
    m_chart.Redraw();
}

void TfrmGraph::ShowRealTimePoint(int point, const core::RealTimeSample& sample,
                                  core::TDateTime time, core::TDateTime axisStep) {
    core::ChartAxes& axes = m_chart.Axes();
    if (axes.ManualMaxX() < time) axes.SetManualMaxX(time + axisStep);
    core::ChartData& data = m_chart.Data();
    data.SetXDataII(0, point, time);
    data.SetXDataII(1, point, time);
    data.SetYData(0, point, sample.ChartT1());
    data.SetYData(1, point, sample.ChartT2());
    // The recording's unit while every point agrees on a known one.
    const QString unit = sample.Unit ? QString(QLatin1Char(sample.Unit)) : QString();
    if (point == 0 || unit != m_unit) m_unit = point == 0 ? unit : QString();

    for (const core::ExtremeField field : core::UpdateExtremes(m_extremes, sample)) {
        const bool t1 = field == core::ExtremeField::T1Max || field == core::ExtremeField::T1Min;
        const bool outOfRange = t1 ? sample.T1OutOfRange : sample.T2OutOfRange;
        const float value = t1 ? sample.T1 : sample.T2;
        QLineEdit* box = field == core::ExtremeField::T1Max   ? m_txtT1Max
                         : field == core::ExtremeField::T1Min ? m_txtT1Min
                         : field == core::ExtremeField::T2Max ? m_txtT2Max
                                                              : m_txtT2Min;
        box->setText(outOfRange ? QStringLiteral("OL") : core::ExtremeText(value, time, m_locale));
    }
    m_chart.Redraw();  // drawn once per pass of the event loop, however many points came
    AppendDataListLine(point);
    m_txtDataNo->setText(QString::number(point + 1));
}

bool TfrmGraph::AddRealTimeMark(core::TDateTime x, double y, const QString& text) {
    constexpr core::RgbColor kMarkColor = 0xFF3030;
    // A recording in its store keeps the mark there, its list reads it from there, and nothing
    // is left to save.
    if (!m_recording) m_dataList->AddNote(x, text);
    core::ChartAnnotations& annotations = m_chart.Annotations();
    // After the placed annotations, in the slots they count; without a context, after all.
    const int index = m_context ? m_context->Tools.LastAnnotationIndex + 1
                                : std::max(4, annotations.GraphAnnotationCount());
    core::GraphAnnotation* slot = annotations.EditGraphAnnotation(index);
    if (!slot) return false;
    *slot = {core::kAnnotationText, x, y, text, kMarkColor, 0};
    if (m_context) m_context->Tools.LastAnnotationIndex = index;
    if (!m_recording) NoteMarksChanged();
    m_chart.Redraw();
    return true;
}

void TfrmGraph::EndRealTimeRecording(int pointsTaken, core::TDateTime now) {
    if (auto* frame = qobject_cast<QMdiSubWindow*>(parentWidget())) frame->showNormal();
    m_tools.tbntClr->setEnabled(true);
    core::ChartData& data = m_chart.Data();
    if (pointsTaken < data.Points()) {
        // The last point of T2 is written back after the cut, as the chart has always been told.
        const int last = pointsTaken - 1;
        const double lastX = last >= 0 ? data.XDataII(1, last) : 0;
        const float lastY = last >= 0 ? data.YData(1, last) : 0;
        data.SetPoints(pointsTaken);
        if (last >= 0) {
            data.SetXDataII(1, last, lastX);
            data.SetYData(1, last, lastY);
        }
        m_chart.Redraw();
    }
    m_chart.Axes().SetManualMaxX(now);
    const int taken = std::min(pointsTaken, data.Points());
    m_txtT1Avg->setText(AverageBoxText(data.Y(0).first(taken), m_locale));
    m_txtT2Avg->setText(AverageBoxText(data.Y(1).first(taken), m_locale));
    m_chart.Redraw();
}

}  // namespace kr820::graph
