// SPDX-License-Identifier: MIT
// What the graph window shows: a data set on the chart, its statistics, the data list and the
// point cursor.
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QTableView>
#include <span>

#include "core/data/data_set_grid.h"
#include "core/data/data_set_store.h"
#include "core/data/rate_codes.h"
#include "core/data/set_flags.h"
#include "core/documents/data_logger_document.h"
#include "core/graph/graph_statistics.h"
#include "core/graph/graph_texts.h"
#include "graph/chart_view.h"
#include "graph/configure_graph.h"
#include "graph/data_list_model.h"
#include "graph/data_set_grid_model.h"
#include "graph/frm_graph.h"
#include "graph/recording_list_model.h"
#include "graph/recording_plot.h"
#include "store/stored_recording.h"

namespace kr820::graph {

namespace {
constexpr core::RgbColor kCursorColor = 0xFFFFFF;
constexpr qint32 kCursorLineType = 2;
}  // namespace

void TfrmGraph::FillDataSetGrid() {
    m_dataSets->Fill(Store(), m_locale);
    FitGridColumns();
    m_selectingByProgram = true;
    m_dataSetGrid->setCurrentIndex(m_dataSets->index(0, 0));
    m_selectingByProgram = false;
}

void TfrmGraph::ShowFirstDataSet() { ShowDataSetWithList(0); }

core::ParseOutcome TfrmGraph::ShowMemoryImage(QByteArrayView image) {
    if (!m_context || !m_context->DataLogger) {
        core::ParseOutcome nowhere;
        nowhere.Code = core::ParseCode::NoDataSets;
        return nowhere;
    }
    return m_context->DataLogger->Load(image.toByteArray()).Parse;
}

void TfrmGraph::ShowDataSetWithList(int set) {
    ShowDataSet(set);
    FillDataList();
    SelectListLine(0, false);
    ShowPointCursor(0);
}

void TfrmGraph::ShowDataSet(int set) {
    const core::TDataSetStore& store = Store();
    if (set < 0 || set >= store.SetCount()) return;
    const core::FlatRange range = store.SetRange(set);
    const int pairs = store.SampleCounts()[set];
    const int rateSeconds = core::RateSeconds(store.RateCodes()[set]);
    const core::TDateTime start = store.StartTimes()[set];
    m_shownSet = set;
    m_unit = QString::fromLatin1(core::UnitText(store.SetFlags()[set]));

    ConfigureGraph(m_chart, ScaleFile(), 2, pairs, start, store.SetEndTime(set), -20, 100);
    FollowSplitState();
    const auto times = std::span(store.Times()).subspan(range.First, range.Count);
    const auto values = std::span(store.Values()).subspan(range.First, range.Count);
    m_chart.Data().SetXBlock(times);
    m_chart.Data().SetYBlock(values);

    UpdateGraphStatistics();
    m_txtStartTime->setText(core::DateTimeText(start, m_locale));
    m_txtSamplingRate->setEditText(core::MmSsText(rateSeconds));
    m_txtDataNo->setText(QString::number(pairs));
    m_chart.PEactions(core::ChartAction::sgUndoZoom);
    m_chart.Redraw();
}

void TfrmGraph::UpdateGraphStatistics() {
    const core::GraphStatistics stats = core::ComputeGraphStatistics(m_chart.Data());
    // A chart without points has no start.
    m_txtStartTime->setText(stats.Points > 0 ? core::DateTimeText(stats.FirstTime, m_locale)
                                             : QString());
    m_txtSamplingRate->setEditText(core::SamplingRateText(stats.SamplingSeconds));
    m_txtDataNo->setText(QString::number(stats.Points));
    const struct {
        QLineEdit *max, *min, *avg;
    } boxes[] = {{m_txtT1Max, m_txtT1Min, m_txtT1Avg}, {m_txtT2Max, m_txtT2Min, m_txtT2Avg}};
    for (int channel = 0; channel < 2; ++channel) {
        const core::ChannelStatistics& c = stats.Channels[channel];
        boxes[channel].max->setText(core::ExtremeText(c.Maximum, c.MaximumTime, m_locale));
        boxes[channel].min->setText(core::ExtremeText(c.Minimum, c.MinimumTime, m_locale));
        boxes[channel].avg->setText(core::AverageText(c, m_locale));
    }
}

void TfrmGraph::FillDataList() {
    // The list marks missing readings where the chart breaks its line for them.
    m_dataList->SetGapThreshold(m_chart.Settings().LineGapThreshold);
    m_dataList->Fill(m_chart.Data());
}

void TfrmGraph::AppendDataListLine(int point) {
    const core::ChartData& data = m_chart.Data();
    m_dataList->SetGapThreshold(m_chart.Settings().LineGapThreshold);
    m_dataList->Append(data.XDataII(0, point), data.YData(0, point), data.YData(1, point));
}

void TfrmGraph::ClearDataList() { m_dataList->Clear(); }

void TfrmGraph::SelectListLine(int point, bool atTop) {
    const int row =
        m_recording ? m_recordingList->RowOfReading(point) : m_dataList->RowOfPoint(point);
    const QModelIndex index = m_dataListView->model()->index(row, 0);
    if (!index.isValid()) return;
    m_selectingByProgram = true;
    m_dataListView->setCurrentIndex(index);
    m_selectingByProgram = false;
    m_dataListView->scrollTo(
        index, atTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
}

void TfrmGraph::ShowPointCursor(int point) {
    core::TDateTime x = 0;
    float t1 = 0;
    float t2 = 0;
    if (m_recording) {
        // A recording's point is its reading; the chart holds only what is drawn.
        const auto reading = point >= 0 ? m_recording->Reader().At(point) : std::nullopt;
        if (!reading) return;
        x = ChartTimeOfMs(reading->TimeMs);
        t1 = ChartValue(reading->T1, reading->T1Valid);
        t2 = ChartValue(reading->T2, reading->T2Valid);
    } else {
        const core::ChartData& data = m_chart.Data();
        if (point < 0 || point >= data.Points()) return;
        x = data.XDataII(0, point);
        t1 = data.YData(0, point);
        t2 = data.YData(1, point);
    }
    m_chart.Settings().LineAnnotationTextSize = 100;
    core::VertLineAnnotation* cursor = m_chart.Annotations().EditVertLineAnnotation(0);
    cursor->X = x;
    cursor->Type = kCursorLineType;
    cursor->Color = kCursorColor;
    cursor->Text = core::PointCursorText(x, t1, t2, m_locale);
    m_chart.Redraw();
}

void TfrmGraph::HidePointCursor() {
    core::VertLineAnnotation* cursor = m_chart.Annotations().EditVertLineAnnotation(0);
    // A line at X = 0 is never drawn.
    cursor->X = 0;
    cursor->Text.clear();
    m_chart.Redraw();
}

}  // namespace kr820::graph
