// SPDX-License-Identifier: MIT
// A graph window's tool bar and what the chart's mouse does with the chosen tool: the statistics
// panels, the pointer tools and annotations, zoom, split, the settings and Y axis dialogs, Fit.
#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>
#include <cmath>
#include <limits>

#include "core/chart/chart_model.h"
#include "core/graph/fit_range.h"
#include "core/graph/graph_texts.h"
#include "core/graph/scale_file.h"
#include "core/state/app_state.h"
#include "graph/chart_view.h"
#include "graph/cross_pointer.h"
#include "graph/frm_anno_edit.h"
#include "graph/frm_graph.h"
#include "graph/frm_setup_scale.h"
#include "ui/prompter.h"

namespace kr820::graph {

namespace {

// The chart's pointer codes for the normal and the text tool.
constexpr qint32 kNormalPointer = 1;
constexpr qint32 kTextPointer = 2;
constexpr core::RgbColor kAnnotationColor = 0xFFFFFF;

// An axis bound as the Y axis dialog shows it: cut toward zero, and held within what a box can
// show however far a loaded chart's range reaches.
int WholeBound(double value) {
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(std::trunc(value), lowest, highest));
}

bool OnPlot(const QRect& plot, QPoint pixel) {
    // Edges included; QRect's right and bottom are its last pixels.
    return plot.isValid() && plot.contains(pixel);
}

void SetYRange(core::ChartAxes& axes, int axis, double min, double max) {
    axes.SetWorkingAxis(axis);
    axes.SetManualScaleControlY(core::ManualScale::sgManualMinAndMax);
    axes.SetManualMinY(min);
    axes.SetManualMaxY(max);
}

}  // namespace

void TfrmGraph::ConnectTools() {
    connect(m_tools.upperStatisticsButton, &QToolButton::clicked, this,
            &TfrmGraph::UpperStatisticsClick);
    connect(m_tools.lowerStatisticsButton, &QToolButton::clicked, this,
            &TfrmGraph::LowerStatisticsClick);
    connect(m_tools.normalTool, &QToolButton::clicked, this, &TfrmGraph::NormalToolClick);
    connect(m_tools.crossTool, &QToolButton::clicked, this, &TfrmGraph::CrossToolClick);
    connect(m_tools.textTool, &QToolButton::clicked, this, &TfrmGraph::TextToolClick);
    connect(m_tools.UndoZoom, &QPushButton::clicked, this, &TfrmGraph::UndoZoomClick);
    connect(m_tools.chkSplit, &QCheckBox::clicked, this, &TfrmGraph::chkSplitClick);
    connect(m_tools.graphOptionButton, &QPushButton::clicked, this, &TfrmGraph::GraphOptionClick);
    connect(m_tools.btnChangeScale, &QPushButton::clicked, this, &TfrmGraph::btnChangeScaleClick);
    connect(m_tools.fitButton, &QPushButton::clicked, this, &TfrmGraph::FitClick);

    ChartInteraction& chart = m_view->Interaction();
    connect(&chart, &ChartInteraction::chartMouseMove, this, &TfrmGraph::ChartMouseMove);
    connect(&chart, &ChartInteraction::chartClick, this, &TfrmGraph::ChartClick);
    connect(&chart, &ChartInteraction::graphAnnotHotSpot, this, &TfrmGraph::ChartAnnotationHotSpot);
    connect(&chart, &ChartInteraction::zoomedIn, this, &TfrmGraph::ChartZoomIn);
}

// ---- Statistics panels ---------------------------------------------------------------------

void TfrmGraph::UpperStatisticsClick() {
    m_pnlGraphStatistic->setVisible(m_tools.upperStatisticsButton->isChecked());
    // The chart moves up or down with the panel; the readout stays on its corner.
    pnlGraphResize();
}

void TfrmGraph::LowerStatisticsClick() {
    m_pnlStatistic->setVisible(m_tools.lowerStatisticsButton->isChecked());
}

// ---- Pointer tools -------------------------------------------------------------------------

void TfrmGraph::ChooseTool(GraphCursorMode mode) {
    ChartInteraction& chart = m_view->Interaction();
    if (mode == GraphCursorMode::Cross) {
        chart.SetCustomPointer(CrossPointer());
    } else {
        m_chart.Settings().ArrowCursor =
            mode == GraphCursorMode::Text ? kTextPointer : kNormalPointer;
        chart.ClearCustomPointer();
    }
    if (m_context) m_context->Tools.CursorMode = mode;
    QToolButton* button = mode == GraphCursorMode::Cross  ? m_tools.crossTool
                          : mode == GraphCursorMode::Text ? m_tools.textTool
                                                          : m_tools.normalTool;
    button->setChecked(true);
}

void TfrmGraph::NormalToolClick() { ChooseTool(GraphCursorMode::Normal); }
void TfrmGraph::CrossToolClick() { ChooseTool(GraphCursorMode::Cross); }
void TfrmGraph::TextToolClick() { ChooseTool(GraphCursorMode::Text); }

void TfrmGraph::ChartMouseMove() {
    const QPoint pixel = m_view->Interaction().LastMousePosition();
    const ChartDrawing& drawing = m_view->Drawing();
    if (!OnPlot(drawing.PlottingRect(), pixel)) return;
    const ChartPosition at = drawing.PixelToValue(pixel);
    m_readoutPanel->setText(core::PointerReadoutText(at.Y, at.X, m_locale));
}

QString TfrmGraph::ReadoutText() const { return m_readoutPanel->text(); }

void TfrmGraph::ChartClick() {
    if (!m_context) return;
    SharedGraphTools& tools = m_context->Tools;
    if (tools.CursorMode == GraphCursorMode::Normal) return;
    const bool text = tools.CursorMode == GraphCursorMode::Text;
    const QPoint mark =
        m_view->Interaction().LastMousePosition() + (text ? kTextMarkOffset : kCrossMarkOffset);
    const ChartDrawing& drawing = m_view->Drawing();
    if (!OnPlot(drawing.PlottingRect(), mark)) return;
    const ChartPosition at = drawing.PixelToValue(mark);

    core::GraphAnnotation annotation;
    annotation.X = at.X;
    annotation.Y = at.Y;
    annotation.Axis = at.Axis;
    annotation.Color = kAnnotationColor;
    if (text) {
        TfrmAnnoEdit dialog(this);
        if (m_context->Prompter.Exec(dialog) != QDialog::Accepted) return;
        annotation.Type = core::kAnnotationText;
        annotation.Text = dialog.Text();
    } else {
        annotation.Type = core::kAnnotationCross;
    }
    core::GraphAnnotation* slot =
        m_chart.Annotations().EditGraphAnnotation(tools.LastAnnotationIndex + 1);
    if (!slot) return;  // the chart holds no more; the index stays where it was
    *slot = annotation;
    ++tools.LastAnnotationIndex;
    NoteMarksChanged();
    m_chart.Redraw();
}

void TfrmGraph::ChartAnnotationHotSpot(bool dblClick, int index) {
    if (!dblClick) return;
    core::GraphAnnotation* annotation = m_chart.Annotations().EditGraphAnnotation(index);
    if (!annotation) return;
    annotation->Type = core::kAnnotationText;
    annotation->Text.clear();
    NoteMarksChanged();
    m_chart.Redraw();
}

void TfrmGraph::NoteMarksChanged() {
    m_marksChanged = true;
    // The real-time graph's marks are unsaved with its points.
    if (IsRealTime() && m_context) m_context->State.RealTimeUnsaved = true;
}

// ---- Zoom and layout -----------------------------------------------------------------------

void TfrmGraph::ChartZoomIn() { m_tools.UndoZoom->setEnabled(true); }

void TfrmGraph::UndoZoomAndRedraw() {
    m_chart.PEactions(core::ChartAction::sgUndoZoom);
    m_tools.UndoZoom->setEnabled(false);
    m_chart.Redraw();
}

void TfrmGraph::UndoZoomClick() { UndoZoomAndRedraw(); }

void TfrmGraph::chkSplitClick() {
    const bool split = m_tools.chkSplit->isChecked();
    m_chart.Axes().SetSplit(split);
    m_tools.crossTool->setEnabled(!split);
    m_tools.textTool->setEnabled(!split);
    // Stacked axes take no annotations: back to reading values.
    if (split) ChooseTool(GraphCursorMode::Normal);
    m_chart.Redraw();
    m_chart.PEactions(core::ChartAction::sgReinitAndReset);
}

// ---- Dialogs -------------------------------------------------------------------------------

void TfrmGraph::GraphOptionClick() {
    core::ChartAxes& axes = m_chart.Axes();
    // The dialog may change the look and axis 0's range; the time range stays as it was.
    const core::ManualScale xControl = axes.ManualScaleControlX();
    const double minX = axes.ManualMinX();
    const double maxX = axes.ManualMaxX();
    m_chart.PEactions(core::ChartAction::sgCustomize);
    axes.SetManualScaleControlX(xControl);
    axes.SetManualMinX(minX);
    axes.SetManualMaxX(maxX);

    // Every axis shows the working axis's range, as single-precision values like the chart's.
    const float minY = static_cast<float>(axes.ManualMinY());
    const float maxY = static_cast<float>(axes.ManualMaxY());
    for (int axis = 0; axis < m_chart.Data().Subsets(); ++axis) SetYRange(axes, axis, minY, maxY);
    axes.SetWorkingAxis(0);
    UndoZoomAndRedraw();
}

void TfrmGraph::btnChangeScaleClick() {
    if (!m_context) return;
    core::ChartAxes& axes = m_chart.Axes();
    core::ScaleBoxValues current;
    axes.SetWorkingAxis(0);
    current.T1Min = WholeBound(axes.ManualMinY());
    current.T1Max = WholeBound(axes.ManualMaxY());
    axes.SetWorkingAxis(1);
    current.T2Min = WholeBound(axes.ManualMinY());
    current.T2Max = WholeBound(axes.ManualMaxY());
    axes.SetWorkingAxis(0);

    TfrmSetupScale dialog(current, m_context->Prompter, this);
    if (m_context->Prompter.Exec(dialog) != QDialog::Accepted) return;
    const core::ScaleBoxTexts texts = dialog.Texts();
    // The dialog refuses these already; what it let through is checked the same way.
    if (const auto problem = core::CheckScaleBoxes(texts)) {
        m_context->Prompter.Message(this, problem->Message);
        return;
    }
    const auto values = std::get<core::ScaleBoxValues>(core::ReadScaleBoxes(texts));
    SetYRange(axes, 0, values.T1Min, values.T1Max);
    SetYRange(axes, 1, values.T2Min, values.T2Max);
    axes.SetWorkingAxis(0);
    m_chart.Redraw();

    if (!dialog.SaveSetting() || m_context->ProgramFolder.isEmpty()) return;
    const core::WriteOutcome saved = core::WriteScaleFile(m_context->ProgramFolder, values);
    if (saved.Status == core::WriteStatus::FolderNotCreated) {
        m_context->Prompter.Message(
            this, QStringLiteral("Cannot create ") + saved.Reason + QStringLiteral(" directory."));
    } else if (!saved.Written()) {
        // The ranges are on the chart already; only keeping them for later failed.
        m_context->Prompter.Message(
            this, QStringLiteral("The Y axis setting was not saved: %1.").arg(saved.Reason));
    }
}

void TfrmGraph::FitClick() {
    core::ChartAxes& axes = m_chart.Axes();
    const ChannelRanges fitted = m_recording ? RecordingFittedRanges() : ChartFittedRanges();
    const std::optional<core::YRange>& t1 = fitted[0];
    const std::optional<core::YRange>& t2 = fitted[1];
    // Joined, both curves share axis 0; each axis gets the range of both so that splitting
    // afterwards shows them on the same scale.
    const bool split = axes.IsSplit();
    const std::optional<core::YRange> ranges[] = {split ? t1 : core::Union(t1, t2),
                                                  split ? t2 : core::Union(t1, t2)};
    for (int axis = 0; axis < 2; ++axis) {
        if (ranges[axis]) SetYRange(axes, axis, ranges[axis]->Min, ranges[axis]->Max);
    }
    axes.SetWorkingAxis(0);
    UndoZoomAndRedraw();
}

TfrmGraph::ChannelRanges TfrmGraph::ChartFittedRanges() const {
    const core::ChartData& data = m_chart.Data();
    const core::ChartAxes& axes = m_chart.Axes();
    const bool timeFixed = axes.ManualScaleControlX() == core::ManualScale::sgManualMinAndMax;
    const double fromX = timeFixed ? axes.ManualMinX() : -std::numeric_limits<double>::infinity();
    const double toX = timeFixed ? axes.ManualMaxX() : std::numeric_limits<double>::infinity();
    const double nullY = m_chart.Settings().NullDataValueY;
    const auto fitted = [&](int subset) {
        return core::FittedRange(data.X(subset), data.Y(subset), fromX, toX, nullY);
    };
    return {fitted(0), fitted(1)};
}

}  // namespace kr820::graph
