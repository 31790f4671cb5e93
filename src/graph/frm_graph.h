// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QLocale>
#include <QWidget>
#include <array>
#include <memory>
#include <optional>

#include "core/chart/chart_model.h"
#include "core/data/parse_memory_image.h"
#include "core/files/file_outcome.h"
#include "core/graph/fit_range.h"
#include "core/realtime/real_time_sample.h"
#include "graph/graph_context.h"
#include "graph/graph_tool_bar.h"
#include "graph/shown_statistics.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QSplitter;
class QTableView;
class QCheckBox;

namespace kr820::core {
class TDataSetStore;
}
namespace kr820::store {
class StoredRecording;
}

namespace kr820::graph {

class ChartView;
class DataListModel;
class SidePanel;
class DataSetGridModel;
class RecordingListModel;

// The real-time recording's extremes so far: T1 maximum, T2 maximum, T1 minimum, T2 minimum. The
// recording sets them to -9999, -9999, 9999, 9999 when it starts.
using RealTimeExtremes = core::RealTimeExtremes;

// What a graph window is for: it decides what the window shows, what it asks before closing and
// what its closing tells the main window. The caption only names the window.
enum class GraphRole { RealTime, DataLogger, File };

// Asked before a file window whose marks changed closes; %1 is its caption, the file's name.
inline const QString kSaveFileWindowQuestion = QStringLiteral("Save \"%1\" ?");
// The Real-Time Graph closed while its recording until stopped runs; Yes stops it.
inline const QString kStopRecordingAndCloseQuestion =
    QStringLiteral("A recording is running. Stop it and close the Real-Time Graph?");

// A graph window in one of its roles: the real-time graph, the DataLogger window or a window of an
// opened file. It shows T1 and T2 over time on its chart, with their statistics and a list of the
// points; the DataLogger window also lists the data sets of the logger memory.
class TfrmGraph : public QWidget {
    Q_OBJECT

public:
    static inline const QString kRealTimeCaption = QStringLiteral("Real-Time Graph");
    static inline const QString kDataLoggerCaption = QStringLiteral("DataLogger");

    // Without a context the window asks nothing and touches no application state.
    TfrmGraph(GraphRole role, const QString& caption, QWidget* parent = nullptr);
    TfrmGraph(GraphRole role, const QString& caption, const GraphContext& context,
              QWidget* parent = nullptr);
    ~TfrmGraph() override;

    GraphRole Role() const { return m_role; }
    bool IsDataLogger() const { return m_role == GraphRole::DataLogger; }
    bool IsRealTime() const { return m_role == GraphRole::RealTime; }

    core::ChartModel& Chart() { return m_chart; }
    ChartView& View() const { return *m_view; }
    DataListModel& DataList() const { return *m_dataList; }
    DataSetGridModel& DataSets() const { return *m_dataSets; }
    const GraphToolBar& ToolBar() const { return m_tools; }
    RealTimeExtremes& Extremes() { return m_extremes; }
    const QLocale& Locale() const { return m_locale; }
    ShownStatistics StatisticsShown() const;
    // The data sets of the DataLogger document; empty for other roles.
    const core::TDataSetStore& Store() const;

    // Role set-ups, once after creation.
    void SetUpDataLogger();
    void SetUpRealTime();
    // A file window after its chart is loaded: statistics, split state and tools follow the
    // chart, the data list shows and the data-set grid does not.
    void PrepareSingleSetWindow();

    void FillDataSetGrid();
    // Set 0 on the chart, its list, the list's first line selected and marked on the chart.
    void ShowFirstDataSet();
    // A logger memory image handed to the DataLogger document, which this window then shows
    // from its first set; a refused image changes nothing. How tests and figures fill the window.
    core::ParseOutcome ShowMemoryImage(QByteArrayView image);

    void ShowDataSet(int set);
    // The data set of the store on the chart, since ShowDataSet.
    std::optional<int> ShownSet() const { return m_shownSet; }
    // "C" or "F" where every point on the chart is known to be in that unit, otherwise empty.
    const QString& Unit() const { return m_unit; }
    void SetUnit(const QString& unit) { m_unit = unit; }
    void UpdateGraphStatistics();
    void FillDataList();
    void AppendDataListLine(int point);
    void ClearDataList();
    void ShowPointCursor(int point);
    // Takes the point cursor off the chart, line and text, until a point is chosen again.
    void HidePointCursor();
    // The cross and text tools are usable only while the chart is joined; the Split box shows
    // the chart's layout.
    void FollowSplitState();

    // The real-time role while recording: the chart prepared for `points` points from now, one
    // sample shown (chart, extremes, list, count), and the end with the chart cut to the points
    // taken and the averages shown.
    void BeginRealTimeRecording(int points, core::TDateTime now);
    void ShowRealTimePoint(int point, const core::RealTimeSample& sample, core::TDateTime time,
                           core::TDateTime axisStep);
    void EndRealTimeRecording(int pointsTaken, core::TDateTime now);
    // A mark such as an alarm raised or cleared: a red text on the chart at (x, y), saved and
    // printed with the chart's annotations, and a line in the point list. False when the chart
    // holds no more annotations (the list line is there all the same).
    bool AddRealTimeMark(core::TDateTime x, double y, const QString& text);
    // The real-time window's Clear: asks about saving, then empties the chart, boxes and list.
    void tbntClrClick();
    void ClearGraph();
    int SamplingRateIndex() const;
    void SetSamplingRateIndex(int index);

    // A recording in its store, drawn through the store's draw query at the shown range and
    // width: the chart holds only what is drawn, the statistics come from the store's envelopes
    // and the list reads the store. Readings the recording gains appear as they come. A new
    // real-time recording or Clear leaves it.
    void ShowRecording(std::shared_ptr<store::StoredRecording> recording);
    store::StoredRecording* Recording() const { return m_recording.get(); }
    // The times the chart shows now (UTC milliseconds), from the zoom; none before it is laid
    // out.
    std::optional<std::pair<qint64, qint64>> ShownTimesMs() const;
    // The first `points` readings of the recording as a graph file, the window's settings and
    // marks with them; the chart then draws the shown range again.
    core::WriteOutcome WriteRecordingGraphFile(const QString& path, int points);
    // A recording until stopped has stopped: Clear may empty the window again.
    void EndStoredRecording();
    const std::shared_ptr<store::StoredRecording>& SharedRecording() const { return m_recording; }
    RecordingListModel* RecordingList() const { return m_recordingList; }

    // The tool bar and the chart's mouse. The tool mode is shared by every graph window.
    void UpperStatisticsClick();
    void LowerStatisticsClick();
    void NormalToolClick();
    void CrossToolClick();
    void TextToolClick();
    void ChartMouseMove();
    // Places a text or a cross where the tool's mark is, when that lies on the plot.
    void ChartClick();
    // A double click on an annotation deletes it (only where the chart reports annotations).
    void ChartAnnotationHotSpot(bool dblClick, int index);
    void ChartZoomIn();
    void UndoZoomClick();
    void chkSplitClick();
    // The chart's settings dialog; afterwards every Y axis shows axis 0's range.
    void GraphOptionClick();
    void btnChangeScaleClick();
    void FitClick();
    // The readout panel's text: the value and time last read under the pointer.
    QString ReadoutText() const;

    // Window events.
    void FormShow();
    void Grid2Click();
    void ListBox1Click();
    void PESGraph1DataHotSpot(bool dblClick, int subsetIndex, int pointIndex);
    void chkTextListClick();
    void pnlGraphResize();
    bool FormCloseQuery();
    void FormClose();

    // Asks about what this window holds that no file keeps, saving it on Yes: true when it may
    // go (saved, given up, or nothing unsaved). Giving it up discards nothing yet; that happens
    // when the window closes or its content is replaced.
    bool AskToKeepData();
    // The quit has asked every window first; this one's closing asks nothing more.
    void SetCloseAnswered(bool answered) { m_closeAnswered = answered; }
    // Marks (texts and crosses) placed or deleted since the window's chart was last written to a
    // graph file, which is the only file that keeps them.
    bool MarksChanged() const { return m_marksChanged; }
    void MarksSaved() { m_marksChanged = false; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildLayout();
    QWidget* BuildLeftPanel();
    QWidget* BuildRightPart();
    QWidget* BuildUpperStatistics();
    QWidget* BuildGraphPanel();
    QWidget* BuildLowerStatistics();
    void FitGridColumns();
    void FitLeftPanel();
    void ConnectEvents();
    void ConnectTools();
    void ChooseTool(GraphCursorMode mode);
    void NoteMarksChanged();
    void UndoZoomAndRedraw();

    void ShowDataSetWithList(int set);
    // Selects the list line of a point.
    void SelectListLine(int point, bool atTop);
    // Left panel for the windows that show one data set: the list only.
    void ShowListOnly(bool shown);
    QString ScaleFile() const;

    // The recording shown (frm_graph_recording.cpp).
    struct PlannedView {
        qint64 FromMs = 0;
        qint64 ToMs = 0;
        int Pixels = 0;
        qint64 Readings = 0;
        bool operator==(const PlannedView&) const = default;
    };
    void LeaveRecording();
    // The alarm raises and clears the store keeps, as marks on the chart.
    void ShowStoredAlarmMarks();
    void FollowRecording();
    std::optional<PlannedView> ShownView() const;
    void PlanRecordingIfMoved();
    void PlanRecording();
    void UpdateRecordingStatistics();
    // Fit's ranges of T1 and T2 over the shown time: from the chart's points, or from a
    // recording's store.
    using ChannelRanges = std::array<std::optional<core::YRange>, 2>;
    ChannelRanges ChartFittedRanges() const;
    ChannelRanges RecordingFittedRanges();
    std::optional<qint64> RecordingIndexOfChartPoint(int point);

    GraphRole m_role;
    std::optional<GraphContext> m_context;
    QLocale m_locale;
    core::ChartModel m_chart;
    RealTimeExtremes m_extremes;
    std::optional<int> m_shownSet;
    QString m_unit;
    bool m_selectingByProgram = false;
    bool m_centred = false;
    bool m_closeAnswered = false;
    bool m_marksChanged = false;

    std::shared_ptr<store::StoredRecording> m_recording;
    RecordingListModel* m_recordingList = nullptr;
    std::optional<PlannedView> m_planned;
    bool m_planPending = false;

    ChartView* m_view = nullptr;
    DataListModel* m_dataList = nullptr;
    DataSetGridModel* m_dataSets = nullptr;
    GraphToolBar m_tools;

    SidePanel* m_pnlDataSets = nullptr;
    int m_listLineWidth = 0;   // a whole list line, in the list's frame
    int m_leastListWidth = 0;  // point number and date
    int m_listFrameWidth = 0;  // what the list's frame, margins and scroll bar add
    QLabel* m_lblDataSets = nullptr;
    QTableView* m_dataSetGrid = nullptr;
    QSplitter* m_splitGridList = nullptr;
    QWidget* m_pnlDataList = nullptr;
    QListView* m_dataListView = nullptr;

    QWidget* m_pnlGraphStatistic = nullptr;
    QLineEdit* m_txtStartTime = nullptr;
    QComboBox* m_txtSamplingRate = nullptr;
    QLineEdit* m_txtDataNo = nullptr;
    QCheckBox* m_chkTextList = nullptr;
    QWidget* m_pnlGraph = nullptr;
    QLabel* m_readoutPanel = nullptr;
    QWidget* m_pnlStatistic = nullptr;
    QLineEdit* m_txtT1Max = nullptr;
    QLineEdit* m_txtT1Min = nullptr;
    QLineEdit* m_txtT1Avg = nullptr;
    QLineEdit* m_txtT2Max = nullptr;
    QLineEdit* m_txtT2Min = nullptr;
    QLineEdit* m_txtT2Avg = nullptr;
};

}  // namespace kr820::graph
