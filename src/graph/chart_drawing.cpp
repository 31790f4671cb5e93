// SPDX-License-Identifier: MIT
#include "graph/chart_drawing.h"

#include <algorithm>
#include <cmath>

#include "core/chart/chart_model.h"
#include "graph/chart_annotation_items.h"
#include "graph/chart_band_style.h"
#include "graph/chart_look.h"
#include "graph/plot_series.h"

namespace kr820::graph {

namespace {

// Rows of titles and the legend take their own height and no share of the rest.
constexpr double kFixedRowStretch = 0.001;
constexpr double kSpacerStretch = 1.0;
// Before any data, an axis without a manual range shows this much.
const QCPRange kEmptyYRange(0.0, 100.0);
constexpr double kEmptyXRangeDays = 1.0 / 24;

// A manual bound where the control asks for one, the data's bound elsewhere.
QCPRange ScaledRange(core::ManualScale control, double manualMin, double manualMax,
                     std::optional<QCPRange> dataRange, QCPRange empty) {
    QCPRange range = dataRange.value_or(empty);
    const bool fixedMin = control == core::ManualScale::sgManualMin ||
                          control == core::ManualScale::sgManualMinAndMax;
    const bool fixedMax = control == core::ManualScale::sgManualMax ||
                          control == core::ManualScale::sgManualMinAndMax;
    if (fixedMin) range.lower = manualMin;
    if (fixedMax) range.upper = manualMax;
    if (range.lower == range.upper) {
        range.lower -= 0.5;
        range.upper += 0.5;
    }
    return range;
}

}  // namespace

ChartDrawing::ChartDrawing(QCustomPlot& plot, const core::ChartModel& model)
    : m_plot(plot), m_model(model) {
    // Received by this object, so that the connection ends with the drawing.
    connect(&plot, &QCustomPlot::afterLayout, this, &ChartDrawing::EqualiseBands);
}

bool ChartDrawing::DateTimes() const {
    const core::ChartSettings& s = m_model.Settings();
    return s.UsingXDataII && s.DateTimeMode == core::DateTimeKind::sgVBDateTime;
}

void ChartDrawing::ClearPicture() {
    // Lines and items refer to the axes, so they go before the rectangles that own the axes.
    m_plot.clearPlottables();
    m_plot.clearItems();
    m_plot.plotLayout()->clear();
    delete m_marginGroup;
    m_bands.clear();
    m_subsetGraphs.clear();
}

void ChartDrawing::Rebuild(const ChartZoom& zoom) {
    ClearPicture();

    const core::ChartSettings& s = m_model.Settings();
    m_plot.setBackground(ToQColor(s.DeskColor));
    m_plot.plotLayout()->setRowSpacing(0);
    m_plot.plotLayout()->setColumnSpacing(0);

    int row = AddTitles(0);
    const bool legendOnTop = s.ShowLegend && s.LegendLocation == core::LegendPlace::sgLegendTop;
    const int legendRow = legendOnTop ? row++ : -1;
    AddBands(row);
    if (s.ShowLegend) {
        const bool below = s.LegendLocation == core::LegendPlace::sgLegendBottom;
        AddLegend(legendOnTop ? legendRow : below ? m_plot.plotLayout()->rowCount() : -1);
    }
    AddVertLineItems(m_plot, *this, m_model);
    AddGraphAnnotationItems(m_plot, *this, m_model);
    ApplyRanges(zoom);
}

int ChartDrawing::AddTitles(int row) {
    const core::ChartSettings& s = m_model.Settings();
    const struct {
        const QString& text;
        const QString& family;
        int extraPoints;
    } titles[] = {{s.MainTitle, s.MainTitleFont, 4}, {s.SubTitle, s.SubTitleFont, 2}};
    for (const auto& title : titles) {
        // A blank title would only push the plot down.
        if (title.text.trimmed().isEmpty()) continue;
        auto* element = new QCPTextElement(&m_plot, title.text,
                                           ChartFont(title.family, s.FontSize, title.extraPoints));
        element->setTextColor(ToQColor(s.TextColor));
        m_plot.plotLayout()->addElement(row, 0, element);
        m_plot.plotLayout()->setRowStretchFactor(row, kFixedRowStretch);
        ++row;
    }
    return row;
}

void ChartDrawing::AddBands(int firstRow) {
    const core::ChartData& data = m_model.Data();
    m_subsetGraphs.assign(std::max(data.Subsets(), 0), nullptr);
    m_marginGroup = new QCPMarginGroup(&m_plot);
    const auto layout = m_model.Axes().Layout(data.Subsets());
    int row = firstRow;
    for (const core::AxisBand& axisBand : layout) {
        Band band{axisBand.Axis,
                  axisBand.FirstSubset,
                  axisBand.SubsetCount,
                  axisBand.HeightShare,
                  row,
                  new QCPAxisRect(&m_plot, true)};
        m_plot.plotLayout()->addElement(row, 0, band.Rect);
        m_plot.plotLayout()->setRowStretchFactor(row,
                                                 std::max(axisBand.HeightShare, kFixedRowStretch));
        band.Rect->setMarginGroup(QCP::msLeft | QCP::msRight, m_marginGroup);
        m_bands.push_back(band);
        ++row;
    }
    for (std::size_t i = 0; i < m_bands.size(); ++i) {
        StyleBand(*m_bands[i].Rect, m_model, m_bands[i].Axis, i + 1 == m_bands.size(), DateTimes(),
                  m_plot.locale());
        AddSubsetGraphs(m_bands[i]);
    }
}

void ChartDrawing::AddSubsetGraphs(const Band& band) {
    const core::ChartSettings& s = m_model.Settings();
    const core::ChartData& data = m_model.Data();
    QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
    QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
    const bool lines = s.PlottingMethod != core::PlotMethod::sgPoint;
    const bool marks = s.MarkDataPoints || s.PlottingMethod == core::PlotMethod::sgPoint ||
                       s.PlottingMethod == core::PlotMethod::sgPointsPlusLine;

    for (int subset = band.FirstSubset; subset < band.FirstSubset + band.SubsetCount; ++subset) {
        const QColor color = ToQColor(s.SubsetColors.At(subset));
        const QString label = s.SubsetLabels.At(subset);
        const PlotSeries series = BuildPlotSeries(data.X(subset), data.Y(subset), s.NullDataValueY,
                                                  s.LineGapThreshold, DateTimes());

        QCPGraph* graph = m_plot.addGraph(x, y);
        graph->setName(label.isEmpty() ? QStringLiteral("Subset %1").arg(subset + 1) : label);
        graph->setPen(LinePen(s.SubsetLineTypes.At(subset), color));
        graph->setLineStyle(!lines                                        ? QCPGraph::lsNone
                            : s.PlottingMethod == core::PlotMethod::sgBar ? QCPGraph::lsImpulse
                                                                          : QCPGraph::lsLine);
        if (marks) graph->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, 4));
        graph->data()->set(series.Line, series.Sorted);
        graph->removeFromLegend();
        m_subsetGraphs[subset] = graph;

        if (!marks && lines && !series.Isolated.isEmpty()) {
            QCPGraph* dots = m_plot.addGraph(x, y);
            dots->setName(graph->name());
            dots->setLineStyle(QCPGraph::lsNone);
            dots->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, 4));
            dots->data()->set(series.Isolated, series.Sorted);
            dots->removeFromLegend();
        }
    }
}

void ChartDrawing::AddLegend(int row) {
    const core::ChartSettings& s = m_model.Settings();
    auto* legend = new QCPLegend;
    legend->setBorderPen(Qt::NoPen);
    legend->setBrush(Qt::NoBrush);
    legend->setFont(ChartFont(s.LabelFont, s.FontSize));
    legend->setTextColor(ToQColor(s.TextColor));
    legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);

    if (row >= 0) {
        // Centred above or below the plot: spacers on both sides take the spare width.
        auto* strip = new QCPLayoutGrid;
        m_plot.plotLayout()->addElement(row, 0, strip);
        m_plot.plotLayout()->setRowStretchFactor(row, kFixedRowStretch);
        strip->addElement(0, 0, new QCPLayoutElement(&m_plot));
        strip->addElement(0, 1, legend);
        strip->addElement(0, 2, new QCPLayoutElement(&m_plot));
        strip->setColumnStretchFactors({kSpacerStretch, kFixedRowStretch, kSpacerStretch});
    } else if (!m_bands.empty()) {
        const bool left = s.LegendLocation == core::LegendPlace::sgLegendLeft;
        m_bands.front().Rect->insetLayout()->addElement(
            legend, (left ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignTop);
    } else {
        delete legend;
        return;
    }
    // Only a legend with its plot can take a layer.
    legend->setLayer(QStringLiteral("legend"));
    for (QCPGraph* graph : m_subsetGraphs) {
        if (graph) graph->addToLegend(legend);
    }
}

void ChartDrawing::EqualiseBands() {
    // The rows share the height by their outer rectangles, but only the lowest band carries the
    // time labels below it: its plot would come out shorter. Sized again with every band's
    // margins added to its share, the plots themselves get the shares.
    if (m_bands.size() < 2 || m_equalising) return;
    int outerTotal = 0;
    int marginTotal = 0;
    for (const Band& band : m_bands) {
        outerTotal += band.Rect->outerRect().height();
        marginTotal += band.Rect->outerRect().height() - band.Rect->rect().height();
    }
    const int plotTotal = outerTotal - marginTotal;
    if (plotTotal <= 0) return;
    bool uneven = false;
    for (const Band& band : m_bands) {
        if (std::abs(band.Rect->rect().height() - band.HeightShare * plotTotal) > 1.0)
            uneven = true;
    }
    if (!uneven) return;
    m_equalising = true;
    for (const Band& band : m_bands) {
        const int margins = band.Rect->outerRect().height() - band.Rect->rect().height();
        m_plot.plotLayout()->setRowStretchFactor(
            band.Row, std::max(band.HeightShare * plotTotal + margins, kFixedRowStretch));
    }
    m_plot.plotLayout()->update(QCPLayoutElement::upLayout);
    m_equalising = false;
}

void ChartDrawing::ApplyRanges(const ChartZoom& zoom) {
    if (m_bands.empty()) return;
    const core::ChartAxes& axes = m_model.Axes();
    const bool dateTimes = DateTimes();

    bool foundKeys = false;
    QCPRange keys;
    for (QCPGraph* graph : m_subsetGraphs) {
        if (!graph) continue;
        bool found = false;
        const QCPRange range = graph->getKeyRange(found);
        if (!found) continue;
        keys = foundKeys
                   ? QCPRange(std::min(keys.lower, range.lower), std::max(keys.upper, range.upper))
                   : range;
        foundKeys = true;
    }
    // Before any data, a date-time chart shows the hour from now.
    const double emptyFrom = dateTimes ? PlotKey(core::NowTDateTime(), true) : 0.0;
    const double emptyWidth = dateTimes ? kEmptyXRangeDays * core::kSecondsPerDay : 1.0;
    const QCPRange emptyX(emptyFrom, emptyFrom + emptyWidth);
    QCPRange xRange = ScaledRange(axes.ManualScaleControlX(), PlotKey(axes.ManualMinX(), dateTimes),
                                  PlotKey(axes.ManualMaxX(), dateTimes),
                                  foundKeys ? std::optional<QCPRange>(keys) : std::nullopt, emptyX);
    if (zoom.X) xRange = *zoom.X;

    for (const Band& band : m_bands) {
        band.Rect->axis(QCPAxis::atBottom)->setRange(xRange);
        std::optional<QCPRange> values;
        for (int subset = band.FirstSubset; subset < band.FirstSubset + band.SubsetCount;
             ++subset) {
            QCPGraph* graph = SubsetGraph(subset);
            if (!graph) continue;
            bool found = false;
            const QCPRange range = graph->getValueRange(found);
            if (!found) continue;
            values = values ? QCPRange(std::min(values->lower, range.lower),
                                       std::max(values->upper, range.upper))
                            : range;
        }
        const core::YAxisSettings& axis = axes.Axis(band.Axis);
        QCPRange yRange = ScaledRange(axis.ManualScaleControlY, axis.ManualMinY, axis.ManualMaxY,
                                      values, kEmptyYRange);
        if (const auto zoomed = zoom.Y.find(band.Axis); zoomed != zoom.Y.end())
            yRange = zoomed->second;
        band.Rect->axis(QCPAxis::atLeft)->setRange(yRange);
    }
}

// ---- Where things lie -----------------------------------------------------------------------

QCPAxisRect* ChartDrawing::BandRect(int band) const {
    return band >= 0 && band < BandCount() ? m_bands[band].Rect : nullptr;
}

int ChartDrawing::BandOfAxis(int axis) const {
    for (int i = 0; i < BandCount(); ++i) {
        if (m_bands[i].Axis == axis) return i;
    }
    return -1;
}

QCPGraph* ChartDrawing::SubsetGraph(int subset) const {
    return subset >= 0 && subset < static_cast<int>(m_subsetGraphs.size()) ? m_subsetGraphs[subset]
                                                                           : nullptr;
}

QRect ChartDrawing::PlottingRect() const {
    QRect all;
    for (const Band& band : m_bands) all = all.united(band.Rect->rect());
    return all;
}

int ChartDrawing::BandUnder(QPointF pixel) const {
    for (int i = 0; i < BandCount(); ++i) {
        const QRect rect = m_bands[i].Rect->rect();
        // Edges belong to the band, as they do to the plotting rectangle.
        if (pixel.x() >= rect.left() && pixel.x() <= rect.right() + 1 && pixel.y() >= rect.top() &&
            pixel.y() <= rect.bottom() + 1)
            return i;
    }
    return -1;
}

int ChartDrawing::NearestBand(QPointF pixel) const {
    int nearest = -1;
    double best = 0;
    for (int i = 0; i < BandCount(); ++i) {
        const QRect rect = m_bands[i].Rect->rect();
        const double distance = pixel.y() < rect.top()      ? rect.top() - pixel.y()
                                : pixel.y() > rect.bottom() ? pixel.y() - rect.bottom()
                                                            : 0.0;
        if (nearest < 0 || distance < best) {
            nearest = i;
            best = distance;
        }
    }
    return nearest;
}

ChartPosition ChartDrawing::PixelToValue(QPointF pixel) const {
    const int band = NearestBand(pixel);
    if (band < 0) return {};
    const QCPAxisRect* rect = m_bands[band].Rect;
    return {ChartX(rect->axis(QCPAxis::atBottom)->pixelToCoord(pixel.x()), DateTimes()),
            rect->axis(QCPAxis::atLeft)->pixelToCoord(pixel.y()), m_bands[band].Axis};
}

QPointF ChartDrawing::ValueToPixel(int axis, core::TDateTime x, double y) const {
    const int band = std::max(BandOfAxis(axis), 0);
    if (m_bands.empty()) return {};
    const QCPAxisRect* rect = m_bands[band].Rect;
    return {rect->axis(QCPAxis::atBottom)->coordToPixel(PlotKey(x, DateTimes())),
            rect->axis(QCPAxis::atLeft)->coordToPixel(y)};
}

}  // namespace kr820::graph
