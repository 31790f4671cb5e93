// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QObject>
#include <QPoint>
#include <optional>

#include "core/chart/chart_codes.h"
#include "graph/chart_zoomer.h"

class QCustomPlot;
class QMouseEvent;
class QWheelEvent;

namespace kr820::core {
class ChartModel;
}
namespace kr820::ui {
class Prompter;
}

namespace kr820::graph {

class ChartDrawing;

// What the user does to a drawn chart, and the chart's action requests. Dragging a rectangle
// zooms and the wheel scrolls a zoomed chart; moves, clicks and double clicks come out as the
// chart's events (a move, a click, a data point, an annotation) for the window's tools to act on.
// The pointer follows the chart's pointer code unless a tool puts up its own picture.
class ChartInteraction : public QObject {
    Q_OBJECT

public:
    ChartInteraction(QCustomPlot& plot, core::ChartModel& model, ChartDrawing& drawing);

    // sgCustomize shows its dialog through this; without one it does nothing.
    void SetPrompter(ui::Prompter* prompter) { m_prompter = prompter; }

    // Where the mouse was last seen, in the plot's pixels.
    QPoint LastMousePosition() const { return m_lastMouse; }

    const ChartZoom& Zoom() const { return m_zoomer.Zoom(); }
    bool IsZoomed() const { return m_zoomer.IsZoomed(); }
    // What dragging a rectangle does (see ChartZoomer); zoomedIn follows a zoom.
    bool ZoomToRect(const QRect& rect);
    void UndoZoom() { m_zoomer.UndoZoom(); }

    // A pointer picture in place of the pointer code (the cross tool's), until cleared.
    void SetCustomPointer(const QCursor& pointer);
    void ClearCustomPointer();

    // The plot's mouse, handed over by the view. Positions are taken before the plot handles an
    // event; clicks are judged after it, once a zoom rectangle has ended.
    void MousePressed(const QMouseEvent& event);
    void MouseSeen(const QMouseEvent& event);
    void MouseMoved();
    void MouseReleased(const QMouseEvent& event);
    void MouseDoubleClicked(const QMouseEvent& event);
    // True when the wheel scrolled a zoomed chart; otherwise the plot may have it.
    bool WheelTurned(const QWheelEvent& event);

    // After the picture was built again: pointer and zoom rectangle as the settings now say.
    void FollowSettings();

signals:
    void zoomedIn();
    void chartMouseMove();
    void chartClick();
    void dataHotSpot(bool dblClick, int subsetIndex, int pointIndex);
    void graphAnnotHotSpot(bool dblClick, int index);
    // sgPrintDialog; printing answers it.
    void printDialogRequested();

private:
    void OnAction(core::ChartAction action);
    void Customize();
    void ReportHotSpots(QPointF pixel, bool dblClick);
    void ApplyPointer();

    QCustomPlot& m_plot;
    core::ChartModel& m_model;
    ChartDrawing& m_drawing;
    ChartZoomer m_zoomer;
    ui::Prompter* m_prompter = nullptr;

    QPoint m_lastMouse;
    QPoint m_pressPos;
    std::optional<QCursor> m_customPointer;
};

}  // namespace kr820::graph
