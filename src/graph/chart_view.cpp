// SPDX-License-Identifier: MIT
#include "graph/chart_view.h"

#include "core/chart/chart_model.h"

namespace kr820::graph {

ChartView::ChartView(core::ChartModel& model, QWidget* parent)
    : QCustomPlot(parent),
      m_model(model),
      m_drawing(*this, model),
      m_interaction(*this, model, m_drawing) {
    setObjectName(QStringLiteral("chartView"));
    setMouseTracking(true);
    m_redrawTimer.setSingleShot(true);
    m_redrawTimer.setInterval(0);
    connect(&m_redrawTimer, &QTimer::timeout, this, &ChartView::Flush);
    connect(&model, &core::ChartModel::redrawRequested, this, &ChartView::OnRedrawRequested,
            Qt::DirectConnection);
    m_redrawTimer.start();
}

bool ChartView::IsUpToDate() const {
    return !m_rebuildPending && m_drawnGeneration == m_model.RedrawGeneration() &&
           !m_redrawTimer.isActive();
}

void ChartView::OnRedrawRequested(quint64 generation) {
    if (generation != m_drawnGeneration) m_rebuildPending = true;
    m_redrawTimer.start();
}

void ChartView::Flush() {
    m_redrawTimer.stop();
    if (m_rebuildPending || m_drawnGeneration != m_model.RedrawGeneration()) Rebuild();
    replot(rpRefreshHint);
    // The least size follows the bands, their fonts and the margins the last layout measured;
    // the window's layouts hear of it only when told.
    if (const QSize least = minimumSizeHint(); least != m_reportedMinimum) {
        m_reportedMinimum = least;
        updateGeometry();
    }
}

void ChartView::Rebuild() {
    m_rebuildPending = false;
    m_drawnGeneration = m_model.RedrawGeneration();
    m_drawing.Rebuild(m_interaction.Zoom());
    m_interaction.FollowSettings();
}

void ChartView::mousePressEvent(QMouseEvent* event) {
    m_interaction.MousePressed(*event);
    QCustomPlot::mousePressEvent(event);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    m_interaction.MouseSeen(*event);
    QCustomPlot::mouseMoveEvent(event);
    m_interaction.MouseMoved();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    m_interaction.MouseSeen(*event);
    QCustomPlot::mouseReleaseEvent(event);  // ends a zoom rectangle before a click is judged
    m_interaction.MouseReleased(*event);
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_interaction.MouseSeen(*event);
    QCustomPlot::mouseDoubleClickEvent(event);
    m_interaction.MouseDoubleClicked(*event);
}

void ChartView::wheelEvent(QWheelEvent* event) {
    if (m_interaction.WheelTurned(*event)) {
        event->accept();
        return;
    }
    QCustomPlot::wheelEvent(event);
}

}  // namespace kr820::graph
