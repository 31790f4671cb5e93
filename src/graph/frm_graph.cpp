// SPDX-License-Identifier: MIT
// The graph window's roles and events.
#include "graph/frm_graph.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QListView>
#include <QSignalBlocker>
#include <QSplitter>
#include <QTableView>
#include <QToolButton>
#include <limits>

#include "core/data/data_set_store.h"
#include "core/documents/data_logger_document.h"
#include "core/state/app_state.h"
#include "graph/chart_view.h"
#include "graph/configure_graph.h"
#include "graph/data_list_model.h"
#include "graph/data_set_grid_model.h"
#include "graph/recording_list_model.h"
#include "graph/side_panel.h"
#include "store/stored_recording.h"
#include "ui/centre_on_screen.h"
#include "ui/prompter.h"

namespace kr820::graph {

namespace {

constexpr int kRealTimeRateIndex = 1;  // "00:02"
constexpr int kRealTimeRateSeconds = 2;
constexpr int kDataLoggerPoints = 500;
constexpr int kRealTimePoints = 100;
constexpr core::TDateTime kDataLoggerSpan = 500 * core::kOneSecond;
constexpr core::TDateTime kRealTimeSpan = 110 * core::kOneSecond;

}  // namespace

void TfrmGraph::ConnectEvents() {
    connect(m_dataSetGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this] {
        if (!m_selectingByProgram) Grid2Click();
    });
    connect(m_dataListView->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this] {
                if (!m_selectingByProgram) ListBox1Click();
            });
    connect(&m_view->Interaction(), &ChartInteraction::dataHotSpot, this,
            &TfrmGraph::PESGraph1DataHotSpot);
    connect(m_chkTextList, &QCheckBox::clicked, this, &TfrmGraph::chkTextListClick);
    ConnectTools();
}

const core::TDataSetStore& TfrmGraph::Store() const {
    static const core::TDataSetStore kNoSets;
    return m_context && m_context->DataLogger ? m_context->DataLogger->Store() : kNoSets;
}

QString TfrmGraph::ScaleFile() const {
    return ScaleFilePath(m_context ? m_context->ProgramFolder : QString());
}

// ---- Roles ---------------------------------------------------------------------------------

void TfrmGraph::SetUpDataLogger() {
    if (m_context && m_context->DataLogger) {
        const core::DataLoggerDocument* document = m_context->DataLogger;
        connect(document, &core::DataLoggerDocument::contentReplaced, this,
                &TfrmGraph::FillDataSetGrid);
        connect(document, &core::DataLoggerDocument::shownSetChanged, this,
                &TfrmGraph::ShowDataSetWithList);
    }
    m_pnlDataSets->show();
    m_lblDataSets->show();
    m_dataSetGrid->show();
    m_pnlDataList->show();
    m_dataListView->show();
    const core::TDateTime now = core::NowTDateTime();
    ConfigureGraph(m_chart, ScaleFile(), 2, kDataLoggerPoints, now, now + kDataLoggerSpan, 30, 130);
    FollowSplitState();
    m_chart.Settings().AllowGraphAnnotHotSpots = true;
}

void TfrmGraph::SetUpRealTime() {
    m_tools.tbntSep3->setVisible(true);
    m_tools.tbntClrAction->setVisible(true);
    connect(m_tools.tbntClr, &QToolButton::clicked, this, &TfrmGraph::tbntClrClick,
            Qt::UniqueConnection);
    const core::TDateTime now = core::NowTDateTime();
    ConfigureGraph(m_chart, ScaleFile(), 2, kRealTimePoints, now, now + kRealTimeSpan, -10, 50);
    FollowSplitState();
    ShowListOnly(true);
    core::ChartSettings& s = m_chart.Settings();
    s.NoRandomPointsToExport = true;
    s.FocalRect = false;
    s.AllowBar = false;
    if (m_context) m_context->State.RealTimeRate = kRealTimeRateSeconds;
    m_txtSamplingRate->setCurrentIndex(kRealTimeRateIndex);
    m_chart.Redraw();
}

void TfrmGraph::PrepareSingleSetWindow() {
    ShowListOnly(m_chkTextList->isChecked());
    FollowSplitState();
    UpdateGraphStatistics();
    FillDataList();
}

void TfrmGraph::ShowListOnly(bool shown) {
    m_pnlDataSets->setVisible(shown);
    m_pnlDataList->setVisible(shown);
    m_dataListView->setVisible(shown);
    m_dataSetGrid->hide();
    m_lblDataSets->hide();
    m_splitGridList->handle(1)->hide();
}

void TfrmGraph::FollowSplitState() {
    const bool split = m_chart.Axes().MultiAxesProportions(0) != 1.0;
    m_tools.crossTool->setEnabled(!split);
    m_tools.textTool->setEnabled(!split);
    const QSignalBlocker quiet(m_tools.chkSplit);
    m_tools.chkSplit->setChecked(split);
}

// ---- Events --------------------------------------------------------------------------------

void TfrmGraph::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (isWindow() && !m_centred) {
        m_centred = true;
        ui::CentreOnScreen(*this);
    }
    FormShow();
}

void TfrmGraph::FormShow() { ChooseTool(GraphCursorMode::Normal); }

void TfrmGraph::Grid2Click() {
    const int row = m_dataSetGrid->currentIndex().row();
    if (m_dataSets->Cell(row, DataSetGridModel::kDateColumn).isEmpty()) return;
    if (m_context && m_context->DataLogger) {
        m_context->DataLogger->ShowSet(row);
    } else {
        ShowDataSetWithList(row);
    }
}

void TfrmGraph::ListBox1Click() {
    // A gap's or a mark's line has no point to show.
    const int row = m_dataListView->currentIndex().row();
    if (m_recording) {
        const qint64 reading = m_recordingList->ReadingOfRow(row);
        if (reading >= 0 && reading <= std::numeric_limits<int>::max())
            ShowPointCursor(int(reading));
        return;
    }
    ShowPointCursor(m_dataList->PointOfRow(row));
}

void TfrmGraph::PESGraph1DataHotSpot(bool, int, int pointIndex) {
    if (m_recording) {
        // The chart draws a plan of the recording: its point leads to the nearest reading.
        const std::optional<qint64> reading = RecordingIndexOfChartPoint(pointIndex);
        if (!reading || *reading > std::numeric_limits<int>::max()) return;
        pointIndex = int(*reading);
    }
    SelectListLine(pointIndex, true);
    ShowPointCursor(pointIndex);
}

void TfrmGraph::chkTextListClick() {
    const bool shown = m_chkTextList->isChecked();
    if (IsDataLogger()) {
        m_pnlDataList->setVisible(shown);
        return;
    }
    ShowListOnly(shown);
}

void TfrmGraph::pnlGraphResize() {
    m_readoutPanel->move(m_view->geometry().topLeft());
    m_readoutPanel->raise();
}

bool TfrmGraph::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_pnlGraph && event->type() == QEvent::Resize) pnlGraphResize();
    return QWidget::eventFilter(watched, event);
}

bool TfrmGraph::AskToKeepData() {
    if (!m_context) return true;
    core::AppState& state = m_context->State;
    const GraphCommands& commands = m_context->Commands;
    using Answer = ui::Prompter::Answer;
    QString question;
    if (IsDataLogger() && m_context->DataLogger && m_context->DataLogger->Unsaved()) {
        question = QStringLiteral("Save DataLogger Data ?");
    } else if (IsRealTime() && state.RealTimeUnsaved) {
        question = QStringLiteral("Save Real-Time Graph ?");
    } else if (m_role == GraphRole::File && m_marksChanged) {
        question = kSaveFileWindowQuestion.arg(windowTitle());
    } else {
        return true;
    }
    switch (m_context->Prompter.Confirm(this, question, ui::Prompter::Buttons::YesNoCancel)) {
        case Answer::Yes:
            // Only a file written lets the data go; a cancelled or failed save keeps it.
            if (IsDataLogger()) return commands.Save1Click && commands.Save1Click(*this);
            if (!commands.SaveSingleSet || !commands.SaveSingleSet(*this)) return false;
            if (IsRealTime()) state.RealTimeUnsaved = false;
            return true;
        case Answer::No:
            // Given up, but nothing goes yet: the window's closing or replacement discards it.
            return true;
        default:
            return false;
    }
}

bool TfrmGraph::FormCloseQuery() {
    if (m_closeAnswered) return true;
    // A recording into its store has nothing to save, but closing ends it: only Yes does.
    if (IsRealTime() && m_recording && m_context && m_context->State.RealTimeRecording)
        return m_context->Prompter.Confirm(this, kStopRecordingAndCloseQuestion,
                                           ui::Prompter::Buttons::YesNo) ==
               ui::Prompter::Answer::Yes;
    return AskToKeepData();
}

void TfrmGraph::FormClose() {
    if (!m_context) return;
    const GraphCommands& commands = m_context->Commands;
    // Only the DataLogger window's own closing discards the download it holds.
    if (IsDataLogger()) {
        if (m_context->DataLogger) m_context->DataLogger->MarkDiscarded();
        if (commands.ForgetWindow) commands.ForgetWindow(*this);
    }
    if (!IsRealTime()) return;
    // Whatever the window held was saved, given up, or never unsaved.
    if (commands.RealTimeGraphClosed) commands.RealTimeGraphClosed();
    if (commands.SetRealTimeGraphTicked) commands.SetRealTimeGraphTicked(false);
    if (commands.ForgetWindow) commands.ForgetWindow(*this);
}

void TfrmGraph::closeEvent(QCloseEvent* event) {
    if (!FormCloseQuery()) {
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

}  // namespace kr820::graph
