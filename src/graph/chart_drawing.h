// SPDX-License-Identifier: MIT
#pragma once

#include <qcustomplot.h>

#include <QObject>
#include <QPointer>
#include <map>
#include <optional>
#include <vector>

#include "core/time/date_time.h"

namespace kr820::core {
class ChartModel;
}

namespace kr820::graph {

// The ranges the user chose by zooming, in plot units: the X range of every band and the Y range
// of each zoomed axis. The drawing shows them in place of the model's ranges.
struct ChartZoom {
    std::optional<QCPRange> X;
    std::map<int, QCPRange> Y;  // by the model's Y axis

    bool IsZoomed() const { return X.has_value() || !Y.empty(); }
};

// A point of the chart read off the picture.
struct ChartPosition {
    core::TDateTime X = 0;
    double Y = 0;
    int Axis = 0;  // the Y axis Y is read on: that of the band at the pixel (or nearest)
};

// Draws a chart model onto a plot: one axis rectangle per Y axis band of the model's layout,
// stacked top to bottom (T1 above T2 when split, both in one when joined), sharing a date-time X
// range; the subsets' lines, broken at null values and gaps in time; titles, legend, vertical
// lines (the point cursor among them) and graph annotations. It answers where things lie on the
// picture as last drawn; it reads the mouse not at all.
class ChartDrawing : public QObject {
public:
    struct Band {
        int Axis = 0;
        int FirstSubset = 0;
        int SubsetCount = 0;
        double HeightShare = 1.0;  // of the bands' plotting height
        int Row = 0;               // in the plot layout
        QCPAxisRect* Rect = nullptr;
    };

    ChartDrawing(QCustomPlot& plot, const core::ChartModel& model);

    // The whole picture again from the model, showing `zoom` where the user zoomed.
    void Rebuild(const ChartZoom& zoom);
    // Only the axes' ranges: the model's, or the zoomed ones.
    void ApplyRanges(const ChartZoom& zoom);

    // X values are date-times, drawn as seconds of the same wall clock.
    bool DateTimes() const;

    // The bands as last drawn, top to bottom.
    const std::vector<Band>& Bands() const { return m_bands; }
    int BandCount() const { return static_cast<int>(m_bands.size()); }
    QCPAxisRect* BandRect(int band) const;  // null outside the bands
    // The band that draws a Y axis of the model; -1 when none does.
    int BandOfAxis(int axis) const;
    // The band whose plotting rectangle holds the pixel, edges included; -1 outside every band.
    int BandUnder(QPointF pixel) const;
    int NearestBand(QPointF pixel) const;
    // The line of a subset, or null when it is not drawn.
    QCPGraph* SubsetGraph(int subset) const;

    // All bands together, in the plot's pixels.
    QRect PlottingRect() const;
    ChartPosition PixelToValue(QPointF pixel) const;
    QPointF ValueToPixel(int axis, core::TDateTime x, double y) const;

private:
    void ClearPicture();
    int AddTitles(int row);
    void AddBands(int firstRow);
    void AddLegend(int row);
    void AddSubsetGraphs(const Band& band);
    void EqualiseBands();

    QCustomPlot& m_plot;
    const core::ChartModel& m_model;
    std::vector<Band> m_bands;
    std::vector<QCPGraph*> m_subsetGraphs;  // by subset; null where not drawn
    QPointer<QCPMarginGroup> m_marginGroup;
    bool m_equalising = false;
};

}  // namespace kr820::graph
