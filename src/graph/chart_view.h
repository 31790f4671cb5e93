// SPDX-License-Identifier: MIT
#pragma once

#include <qcustomplot.h>

#include <QTimer>

#include "graph/chart_drawing.h"
#include "graph/chart_interaction.h"

namespace kr820::core {
class ChartModel;
}

namespace kr820::graph {

// A chart model on screen: its drawing and what the user does to it, on one plot. The picture
// follows the model only when the model asks for a redraw, and several requests before the event
// loop runs cost one rebuild. Its minimum size hint is the least at which the chart stays
// readable, as the plot's layout measures it.
class ChartView : public QCustomPlot {
    Q_OBJECT

public:
    explicit ChartView(core::ChartModel& model, QWidget* parent = nullptr);

    core::ChartModel& Model() { return m_model; }
    const ChartDrawing& Drawing() const { return m_drawing; }
    ChartInteraction& Interaction() { return m_interaction; }

    // Performs a pending rebuild or repaint now rather than from the event loop.
    void Flush();
    bool IsUpToDate() const;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void OnRedrawRequested(quint64 generation);
    void Rebuild();

    core::ChartModel& m_model;
    ChartDrawing m_drawing;
    ChartInteraction m_interaction;

    QTimer m_redrawTimer;
    bool m_rebuildPending = true;
    quint64 m_drawnGeneration = 0;
    QSize m_reportedMinimum;
};

}  // namespace kr820::graph
