// SPDX-License-Identifier: MIT
#include "graph/chart_interaction.h"

#include <qcustomplot.h>

#include <QMouseEvent>
#include <QWheelEvent>

#include "core/chart/chart_model.h"
#include "graph/chart_drawing.h"
#include "graph/chart_hot_spots.h"
#include "graph/chart_look.h"
#include "graph/chart_settings_dialog.h"
#include "ui/prompter.h"

namespace kr820::graph {

namespace {
// A drag shorter than this is a click.
constexpr int kClickSlopPx = 3;
// The wheel's angle for one notch.
constexpr double kWheelNotch = 120.0;
}  // namespace

ChartInteraction::ChartInteraction(QCustomPlot& plot, core::ChartModel& model,
                                   ChartDrawing& drawing)
    : m_plot(plot), m_model(model), m_drawing(drawing), m_zoomer(plot, model, drawing) {
    // The program reads the chart right after asking for a dialog or an undone zoom.
    connect(&model, &core::ChartModel::actionRequested, this, &ChartInteraction::OnAction,
            Qt::DirectConnection);
    connect(plot.selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect& rect, QMouseEvent*) { ZoomToRect(rect); });
}

bool ChartInteraction::ZoomToRect(const QRect& rect) {
    if (!m_zoomer.ZoomToRect(rect)) return false;
    emit zoomedIn();
    return true;
}

void ChartInteraction::OnAction(core::ChartAction action) {
    switch (action) {
        case core::ChartAction::sgUndoZoom:
            UndoZoom();
            return;
        case core::ChartAction::sgCustomize:
            Customize();
            return;
        case core::ChartAction::sgPrintDialog:
            emit printDialogRequested();
            return;
        default:
            return;
    }
}

void ChartInteraction::Customize() {
    const core::ChartSettings& s = m_model.Settings();
    if (!m_prompter || !s.AllowCustomization) return;
    ChartSettingsDialog dialog(m_model, &m_plot);
    if (!dialog.HasPages()) return;
    if (m_prompter->Exec(dialog) != QDialog::Accepted) return;
    dialog.ApplyTo(m_model);
    m_model.Redraw();
}

// ---- Pointer -------------------------------------------------------------------------------

void ChartInteraction::FollowSettings() {
    ApplyPointer();
    m_zoomer.FollowSettings();
}

void ChartInteraction::ApplyPointer() {
    m_plot.setCursor(m_customPointer ? *m_customPointer
                                     : QCursor(PointerShape(m_model.Settings().ArrowCursor)));
}

void ChartInteraction::SetCustomPointer(const QCursor& pointer) {
    m_customPointer = pointer;
    ApplyPointer();
}

void ChartInteraction::ClearCustomPointer() {
    m_customPointer.reset();
    ApplyPointer();
}

// ---- Mouse ---------------------------------------------------------------------------------

void ChartInteraction::MousePressed(const QMouseEvent& event) {
    MouseSeen(event);
    m_pressPos = m_lastMouse;
}

void ChartInteraction::MouseSeen(const QMouseEvent& event) {
    m_lastMouse = event.position().toPoint();
}

void ChartInteraction::MouseMoved() { emit chartMouseMove(); }

void ChartInteraction::MouseReleased(const QMouseEvent& event) {
    if (event.button() != Qt::LeftButton) return;
    if ((m_lastMouse - m_pressPos).manhattanLength() > kClickSlopPx) return;
    emit chartClick();
    ReportHotSpots(event.position(), false);
}

void ChartInteraction::MouseDoubleClicked(const QMouseEvent& event) {
    if (event.button() == Qt::LeftButton) ReportHotSpots(event.position(), true);
}

void ChartInteraction::ReportHotSpots(QPointF pixel, bool dblClick) {
    const core::ChartSettings& s = m_model.Settings();
    if (s.AllowDataHotSpots) {
        if (const auto point = DataPointAt(m_drawing, m_model, pixel))
            emit dataHotSpot(dblClick, point->Subset, point->Point);
    }
    if (s.AllowGraphAnnotHotSpots) {
        if (const int index = GraphAnnotationAt(m_drawing, m_model, pixel); index >= 0)
            emit graphAnnotHotSpot(dblClick, index);
    }
}

bool ChartInteraction::WheelTurned(const QWheelEvent& event) {
    if (!IsZoomed()) return false;
    const double steps = event.angleDelta().y() / kWheelNotch;
    // Shift scrolls up and down, as in most programs that scroll sideways with the wheel.
    const bool vertical = event.modifiers().testFlag(Qt::ShiftModifier);
    m_zoomer.Scroll(vertical ? 0 : -steps, vertical ? steps : 0,
                    m_drawing.BandUnder(event.position()));
    return true;
}

}  // namespace kr820::graph
