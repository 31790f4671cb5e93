// SPDX-License-Identifier: MIT
#pragma once

#include <qcustomplot.h>

#include <QCursor>
#include <QPointer>
#include <QTimer>
#include <map>
#include <optional>
#include <vector>

#include "core/chart/chart_codes.h"
#include "core/time/date_time.h"

namespace kr820::core {
class ChartModel;
}
namespace kr820::ui {
class Prompter;
}

namespace kr820::graph {

// Draws a chart model: one axis rectangle per Y axis band of the model's layout, stacked top to
// bottom (T1 above T2 when split, both in one when joined), sharing a date-time X range. Null
// values and gaps in time break the lines. The picture follows the model only when the model
// asks for a redraw, and several requests before the event loop runs cost one rebuild.
//
// The user drags a rectangle to zoom and the wheel scrolls a zoomed chart; clicks are reported
// as the chart interface's events (click, data point, annotation).
class ChartView : public QCustomPlot {
    Q_OBJECT

public:
    explicit ChartView(core::ChartModel& model, QWidget* parent = nullptr);

    core::ChartModel& Model() { return m_model; }
    // sgCustomize shows its dialog through this; without one it does nothing.
    void SetPrompter(ui::Prompter* prompter) { m_prompter = prompter; }

    // Performs a pending rebuild or repaint now rather than from the event loop.
    void Flush();
    bool IsUpToDate() const;

    // The bands as last drawn, top to bottom.
    int BandCount() const { return static_cast<int>(m_bands.size()); }
    QCPAxisRect* BandRect(int band) const;
    // The band that draws a Y axis of the model; -1 when none does.
    int BandOfAxis(int axis) const;
    // The line of a subset, or null when it is not drawn.
    QCPGraph* SubsetGraph(int subset) const;

    // The chart's mouse queries, in this widget's pixels.
    QPoint LastMousePosition() const { return m_lastMouse; }
    // All bands together.
    QRect PlottingRect() const;
    struct ChartPosition {
        core::TDateTime X = 0;
        double Y = 0;
        int Axis = 0;  // the Y axis Y is read on: that of the band at the pixel (or nearest)
    };
    ChartPosition PixelToValue(QPointF pixel) const;
    QPointF ValueToPixel(int axis, core::TDateTime x, double y) const;

    // What dragging a rectangle does: zooms the band under the rectangle's first corner in the
    // allowed directions (X in every band). False when refused (no band, zooming not allowed,
    // a rectangle too small).
    bool ZoomToRect(const QRect& rect);
    bool IsZoomed() const { return m_zoomX.has_value() || !m_zoomY.empty(); }
    void UndoZoom();

    // A pointer picture in place of the pointer code (the cross tool's), until cleared.
    void SetCustomPointer(const QCursor& pointer);
    void ClearCustomPointer();

signals:
    void zoomedIn();
    void chartMouseMove();
    void chartClick();
    void dataHotSpot(bool dblClick, int subsetIndex, int pointIndex);
    void graphAnnotHotSpot(bool dblClick, int index);
    // sgPrintDialog; printing answers it.
    void printDialogRequested();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    struct Band {
        int Axis = 0;
        int FirstSubset = 0;
        int SubsetCount = 0;
        double HeightShare = 1.0;  // of the bands' plotting height
        int Row = 0;               // in the plot layout
        QCPAxisRect* Rect = nullptr;
    };

    void OnRedrawRequested(quint64 generation);
    void OnAction(core::ChartAction action);
    void Customize();

    void Rebuild();
    void ClearPicture();
    int AddTitles(int row);
    void AddBands(int firstRow);
    void AddLegend(int row);
    void StyleBand(const Band& band, bool lowest);
    void AddSubsetGraphs(const Band& band);
    void AddVertLines();
    void AddGraphAnnotations();
    void ApplyRanges();
    void EqualiseBands();
    void ApplyPointer();
    void UpdateSelectionRect();

    bool DateTimes() const;
    int BandAt(QPointF pixel) const;  // -1 outside every band
    int NearestBand(QPointF pixel) const;
    std::optional<std::pair<int, int>> DataPointAt(QPointF pixel) const;
    int GraphAnnotationAt(QPointF pixel) const;
    QFont AnnotationFont(qint32 sizePercent) const;
    void ReportHotSpots(QPointF pixel, bool dblClick);
    void Pan(double horizontalSteps, double verticalSteps, int band);

    core::ChartModel& m_model;
    ui::Prompter* m_prompter = nullptr;

    QTimer m_redrawTimer;
    bool m_rebuildPending = true;
    quint64 m_drawnGeneration = 0;

    std::vector<Band> m_bands;
    std::vector<QCPGraph*> m_subsetGraphs;  // by subset; null where not drawn
    QPointer<QCPMarginGroup> m_marginGroup;
    bool m_equalising = false;

    // While zoomed: the X range of every band and the Y range of each zoomed axis, in plot units.
    std::optional<QCPRange> m_zoomX;
    std::map<int, QCPRange> m_zoomY;

    QPoint m_lastMouse;
    QPoint m_pressPos;
    std::optional<QCursor> m_customPointer;
};

}  // namespace kr820::graph
