// SPDX-License-Identifier: MIT
#include "graph/chart_view.h"

#include <QFontMetrics>
#include <algorithm>
#include <cmath>

#include "core/chart/chart_model.h"
#include "graph/chart_look.h"
#include "graph/chart_settings_dialog.h"
#include "graph/plot_series.h"
#include "ui/prompter.h"

namespace kr820::graph {

namespace {

// How near a click must come to a data point to hit it.
constexpr double kHotSpotRadiusPx = 5.0;
constexpr double kCrossHitRadiusPx = 7.0;
constexpr double kCrossSizePx = 11.0;
// A drag shorter than this is a click.
constexpr int kClickSlopPx = 3;
// A zoom rectangle narrower than this in a zoomed direction is taken for a slip of the hand.
constexpr int kMinZoomPx = 4;
// One wheel notch scrolls a zoomed chart by this part of its range.
constexpr double kPanShare = 0.1;
// Rows of titles and the legend take their own height and no share of the rest.
constexpr double kFixedRowStretch = 0.001;
constexpr double kSpacerStretch = 1.0;
// Before any data, an axis without a manual range shows this much.
const QCPRange kEmptyYRange(0.0, 100.0);
constexpr double kEmptyXRangeDays = 1.0 / 24;

int SeparatorWidth(core::AxisSeparator separator) {
    switch (separator) {
        case core::AxisSeparator::sgNoSeparator:
            return 0;
        case core::AxisSeparator::sgThinLine:
            return 1;
        case core::AxisSeparator::sgMediumLine:
            return 2;
        case core::AxisSeparator::sgThickLine:
            return 3;
    }
    return 1;
}

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

ChartView::ChartView(core::ChartModel& model, QWidget* parent)
    : QCustomPlot(parent), m_model(model) {
    setObjectName(QStringLiteral("chartView"));
    setMouseTracking(true);
    m_redrawTimer.setSingleShot(true);
    m_redrawTimer.setInterval(0);
    connect(&m_redrawTimer, &QTimer::timeout, this, &ChartView::Flush);
    connect(&model, &core::ChartModel::redrawRequested, this, &ChartView::OnRedrawRequested,
            Qt::DirectConnection);
    // The program reads the chart right after asking for a dialog or an undone zoom.
    connect(&model, &core::ChartModel::actionRequested, this, &ChartView::OnAction,
            Qt::DirectConnection);
    connect(this, &QCustomPlot::afterLayout, this, &ChartView::EqualiseBands);
    connect(selectionRect(), &QCPSelectionRect::accepted, this,
            [this](const QRect& rect, QMouseEvent*) { ZoomToRect(rect); });
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
}

void ChartView::OnAction(core::ChartAction action) {
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

void ChartView::Customize() {
    const core::ChartSettings& s = m_model.Settings();
    if (!m_prompter || !s.AllowCustomization) return;
    ChartSettingsDialog dialog(m_model, this);
    if (!dialog.HasPages()) return;
    if (m_prompter->Exec(dialog) != QDialog::Accepted) return;
    dialog.ApplyTo(m_model);
    m_model.Redraw();
}

// ---- Building the picture ------------------------------------------------------------------

bool ChartView::DateTimes() const {
    const core::ChartSettings& s = m_model.Settings();
    return s.UsingXDataII && s.DateTimeMode == core::DateTimeKind::sgVBDateTime;
}

void ChartView::ClearPicture() {
    // Lines and items refer to the axes, so they go before the rectangles that own the axes.
    clearPlottables();
    clearItems();
    plotLayout()->clear();
    delete m_marginGroup;
    m_bands.clear();
    m_subsetGraphs.clear();
}

void ChartView::Rebuild() {
    m_rebuildPending = false;
    m_drawnGeneration = m_model.RedrawGeneration();
    ClearPicture();

    const core::ChartSettings& s = m_model.Settings();
    setBackground(ToQColor(s.DeskColor));
    plotLayout()->setRowSpacing(0);
    plotLayout()->setColumnSpacing(0);

    int row = AddTitles(0);
    const bool legendOnTop = s.ShowLegend && s.LegendLocation == core::LegendPlace::sgLegendTop;
    const int legendRow = legendOnTop ? row++ : -1;
    AddBands(row);
    if (s.ShowLegend) {
        AddLegend(legendOnTop                                             ? legendRow
                  : s.LegendLocation == core::LegendPlace::sgLegendBottom ? plotLayout()->rowCount()
                                                                          : -1);
    }
    AddVertLines();
    AddGraphAnnotations();
    ApplyRanges();
    ApplyPointer();
    UpdateSelectionRect();
}

int ChartView::AddTitles(int row) {
    const core::ChartSettings& s = m_model.Settings();
    const struct {
        const QString& text;
        const QString& family;
        int extraPoints;
    } titles[] = {{s.MainTitle, s.MainTitleFont, 4}, {s.SubTitle, s.SubTitleFont, 2}};
    for (const auto& title : titles) {
        // A blank title would only push the plot down.
        if (title.text.trimmed().isEmpty()) continue;
        auto* element = new QCPTextElement(this, title.text,
                                           ChartFont(title.family, s.FontSize, title.extraPoints));
        element->setTextColor(ToQColor(s.TextColor));
        plotLayout()->addElement(row, 0, element);
        plotLayout()->setRowStretchFactor(row, kFixedRowStretch);
        ++row;
    }
    return row;
}

void ChartView::AddBands(int firstRow) {
    const core::ChartData& data = m_model.Data();
    m_subsetGraphs.assign(std::max(data.Subsets(), 0), nullptr);
    m_marginGroup = new QCPMarginGroup(this);
    const auto layout = m_model.Axes().Layout(data.Subsets());
    int row = firstRow;
    for (const core::AxisBand& axisBand : layout) {
        Band band{
            axisBand.Axis, axisBand.FirstSubset,       axisBand.SubsetCount, axisBand.HeightShare,
            row,           new QCPAxisRect(this, true)};
        plotLayout()->addElement(row, 0, band.Rect);
        plotLayout()->setRowStretchFactor(row, std::max(axisBand.HeightShare, kFixedRowStretch));
        band.Rect->setMarginGroup(QCP::msLeft | QCP::msRight, m_marginGroup);
        m_bands.push_back(band);
        ++row;
    }
    for (std::size_t i = 0; i < m_bands.size(); ++i) {
        StyleBand(m_bands[i], i + 1 == m_bands.size());
        AddSubsetGraphs(m_bands[i]);
    }
}

void ChartView::StyleBand(const Band& band, bool lowest) {
    const core::ChartSettings& s = m_model.Settings();
    const QColor text = ToQColor(s.TextColor);
    const QFont font = ChartFont(s.LabelFont, s.FontSize);
    const QPen gridPen = GridPen(s.GridStyle, ToQColor(s.GraphForeColor));
    const bool xGrid = s.GridLineControl == core::GridLines::sgXAxis ||
                       s.GridLineControl == core::GridLines::sgYPlusXAxis;
    const bool yGrid = s.GridLineControl == core::GridLines::sgYAxis ||
                       s.GridLineControl == core::GridLines::sgYPlusXAxis;
    const QPen framePen(text, std::max(SeparatorWidth(m_model.Axes().MultiAxesSeparators()), 1));

    QCPAxisRect* rect = band.Rect;
    rect->setBackground(ToQColor(s.GraphBackColor));
    rect->setRangeDrag(Qt::Orientations());
    rect->setRangeZoom(Qt::Orientations());
    for (QCPAxis* axis : rect->axes()) {
        axis->setVisible(true);
        axis->setBasePen(framePen);
        axis->setTickPen(QPen(text, 0));
        axis->setSubTickPen(QPen(text, 0));
        axis->setTickLabelColor(text);
        axis->setLabelColor(text);
        axis->setTickLabelFont(font);
        axis->setLabelFont(font);
        axis->grid()->setSubGridVisible(false);
        axis->grid()->setZeroLinePen(Qt::NoPen);
    }
    // Top and right only close the frame.
    for (QCPAxis* frame : {rect->axis(QCPAxis::atTop), rect->axis(QCPAxis::atRight)}) {
        frame->setTicks(false);
        frame->setTickLabels(false);
        frame->grid()->setVisible(false);
    }

    QCPAxis* x = rect->axis(QCPAxis::atBottom);
    if (DateTimes()) {
        auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
        ticker->setDateTimeSpec(Qt::UTC);
        ticker->setDateTimeFormat(QStringLiteral("hh:mm:ss\n") +
                                  locale().dateFormat(QLocale::ShortFormat));
        x->setTicker(ticker);
    }
    x->grid()->setVisible(xGrid);
    x->grid()->setPen(gridPen);
    // The bands share one time axis: only the lowest one writes it out.
    x->setTickLabels(lowest);
    x->setLabel(lowest ? s.XAxisLabel : QString());

    QCPAxis* y = rect->axis(QCPAxis::atLeft);
    y->grid()->setVisible(yGrid);
    y->grid()->setPen(gridPen);
    y->setLabel(m_model.Axes().Axis(band.Axis).YAxisLabel);
}

void ChartView::AddSubsetGraphs(const Band& band) {
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

        QCPGraph* graph = addGraph(x, y);
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
            QCPGraph* dots = addGraph(x, y);
            dots->setName(graph->name());
            dots->setLineStyle(QCPGraph::lsNone);
            dots->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, 4));
            dots->data()->set(series.Isolated, series.Sorted);
            dots->removeFromLegend();
        }
    }
}

void ChartView::AddLegend(int row) {
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
        plotLayout()->addElement(row, 0, strip);
        plotLayout()->setRowStretchFactor(row, kFixedRowStretch);
        strip->addElement(0, 0, new QCPLayoutElement(this));
        strip->addElement(0, 1, legend);
        strip->addElement(0, 2, new QCPLayoutElement(this));
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

QFont ChartView::AnnotationFont(qint32 sizePercent) const {
    const core::ChartSettings& s = m_model.Settings();
    QFont font = ChartFont(s.LabelFont, s.FontSize);
    font.setPointSizeF(
        std::max(1.0, font.pointSizeF() * std::clamp(sizePercent, 10, 1000) / 100.0));
    return font;
}

void ChartView::AddVertLines() {
    const core::ChartSettings& s = m_model.Settings();
    if (!s.ShowVertLineAnnotations || m_bands.empty()) return;
    const QFont font = AnnotationFont(s.LineAnnotationTextSize);
    for (const core::VertLineAnnotation& line : m_model.Annotations().VertLineAnnotations()) {
        // A line never placed (X = 0) lies long before any recording.
        if (line.X == 0) continue;
        const double key = PlotKey(line.X, DateTimes());
        const QColor color = ToQColor(line.Color);
        for (const Band& band : m_bands) {
            QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
            QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
            auto* item = new QCPItemStraightLine(this);
            item->setClipAxisRect(band.Rect);
            item->setPen(LinePen(line.Type, color));
            for (QCPItemPosition* end : {item->point1, item->point2}) end->setAxes(x, y);
            item->point1->setCoords(key, 0);
            item->point2->setCoords(key, 1);
        }
        if (line.Text.isEmpty()) continue;
        const Band& top = m_bands.front();
        auto* text = new QCPItemText(this);
        text->setClipAxisRect(top.Rect);
        text->position->setTypeX(QCPItemPosition::ptPlotCoords);
        text->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        text->position->setAxes(top.Rect->axis(QCPAxis::atBottom), top.Rect->axis(QCPAxis::atLeft));
        text->position->setAxisRect(top.Rect);
        text->position->setCoords(key, 0);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignTop);
        text->setPadding(QMargins(3, 2, 3, 2));
        text->setFont(font);
        text->setColor(color);
        text->setText(line.Text);
    }
}

void ChartView::AddGraphAnnotations() {
    const core::ChartSettings& s = m_model.Settings();
    if (!s.ShowGraphAnnotations || m_bands.empty()) return;
    const QFont font = AnnotationFont(s.GraphAnnotationTextSize);
    for (const core::GraphAnnotation& annotation : m_model.Annotations().GraphAnnotations()) {
        const bool cross = annotation.Type == core::kAnnotationCross;
        if (!cross && annotation.Text.isEmpty()) continue;
        const int bandIndex = std::max(BandOfAxis(annotation.Axis), 0);
        const Band& band = m_bands[bandIndex];
        QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
        QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
        const double key = PlotKey(annotation.X, DateTimes());
        const QColor color = ToQColor(annotation.Color);
        if (cross) {
            auto* mark = new QCPItemTracer(this);
            mark->setClipAxisRect(band.Rect);
            mark->setStyle(QCPItemTracer::tsPlus);
            mark->setSize(kCrossSizePx);
            mark->setPen(QPen(color, 1));
            mark->position->setAxes(x, y);
            mark->position->setCoords(key, annotation.Y);
        }
        if (annotation.Text.isEmpty()) continue;
        auto* text = new QCPItemText(this);
        text->setClipAxisRect(band.Rect);
        text->position->setAxes(x, y);
        text->position->setCoords(key, annotation.Y);
        text->setPositionAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        // Beside the cross rather than over it.
        text->setPadding(QMargins(cross ? qRound(kCrossSizePx) : 0, 0, 0, 0));
        text->setFont(font);
        text->setColor(color);
        text->setText(annotation.Text);
    }
}

void ChartView::EqualiseBands() {
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
        plotLayout()->setRowStretchFactor(
            band.Row, std::max(band.HeightShare * plotTotal + margins, kFixedRowStretch));
    }
    plotLayout()->update(QCPLayoutElement::upLayout);
    m_equalising = false;
}

void ChartView::ApplyRanges() {
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
    if (m_zoomX) xRange = *m_zoomX;

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
        if (const auto zoomed = m_zoomY.find(band.Axis); zoomed != m_zoomY.end())
            yRange = zoomed->second;
        band.Rect->axis(QCPAxis::atLeft)->setRange(yRange);
    }
}

void ChartView::ApplyPointer() {
    setCursor(m_customPointer ? *m_customPointer
                              : QCursor(PointerShape(m_model.Settings().ArrowCursor)));
}

void ChartView::UpdateSelectionRect() {
    const core::ChartSettings& s = m_model.Settings();
    const bool zooming = s.AllowZooming != core::ZoomDirections::sgNoZooming;
    setSelectionRectMode(zooming ? QCP::srmCustom : QCP::srmNone);
    // Drawn over a dark plot as well as a light one.
    selectionRect()->setPen(QPen(Qt::white, 0, Qt::DashLine));
    selectionRect()->setBrush(s.ZoomStyle == core::ZoomFrame::sgFilled
                                  ? QBrush(QColor(255, 255, 255, 60))
                                  : QBrush(Qt::NoBrush));
}

void ChartView::SetCustomPointer(const QCursor& pointer) {
    m_customPointer = pointer;
    ApplyPointer();
}

void ChartView::ClearCustomPointer() {
    m_customPointer.reset();
    ApplyPointer();
}

// ---- Queries -------------------------------------------------------------------------------

QCPAxisRect* ChartView::BandRect(int band) const {
    return band >= 0 && band < BandCount() ? m_bands[band].Rect : nullptr;
}

int ChartView::BandOfAxis(int axis) const {
    for (int i = 0; i < BandCount(); ++i) {
        if (m_bands[i].Axis == axis) return i;
    }
    return -1;
}

QCPGraph* ChartView::SubsetGraph(int subset) const {
    return subset >= 0 && subset < static_cast<int>(m_subsetGraphs.size()) ? m_subsetGraphs[subset]
                                                                           : nullptr;
}

QRect ChartView::PlottingRect() const {
    QRect all;
    for (const Band& band : m_bands) all = all.united(band.Rect->rect());
    return all;
}

int ChartView::BandAt(QPointF pixel) const {
    for (int i = 0; i < BandCount(); ++i) {
        const QRect rect = m_bands[i].Rect->rect();
        // Edges belong to the band, as they do to the plotting rectangle.
        if (pixel.x() >= rect.left() && pixel.x() <= rect.right() + 1 && pixel.y() >= rect.top() &&
            pixel.y() <= rect.bottom() + 1)
            return i;
    }
    return -1;
}

int ChartView::NearestBand(QPointF pixel) const {
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

ChartView::ChartPosition ChartView::PixelToValue(QPointF pixel) const {
    const int band = NearestBand(pixel);
    if (band < 0) return {};
    const QCPAxisRect* rect = m_bands[band].Rect;
    return {ChartX(rect->axis(QCPAxis::atBottom)->pixelToCoord(pixel.x()), DateTimes()),
            rect->axis(QCPAxis::atLeft)->pixelToCoord(pixel.y()), m_bands[band].Axis};
}

QPointF ChartView::ValueToPixel(int axis, core::TDateTime x, double y) const {
    const int band = std::max(BandOfAxis(axis), 0);
    if (m_bands.empty()) return {};
    const QCPAxisRect* rect = m_bands[band].Rect;
    return {rect->axis(QCPAxis::atBottom)->coordToPixel(PlotKey(x, DateTimes())),
            rect->axis(QCPAxis::atLeft)->coordToPixel(y)};
}

std::optional<std::pair<int, int>> ChartView::DataPointAt(QPointF pixel) const {
    const int bandIndex = BandAt(pixel);
    if (bandIndex < 0) return std::nullopt;
    const Band& band = m_bands[bandIndex];
    const QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
    const QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
    const core::ChartData& data = m_model.Data();
    const float nullY = static_cast<float>(m_model.Settings().NullDataValueY);
    const bool dateTimes = DateTimes();

    std::optional<std::pair<int, int>> hit;
    double best = kHotSpotRadiusPx * kHotSpotRadiusPx;
    for (int subset = band.FirstSubset; subset < band.FirstSubset + band.SubsetCount; ++subset) {
        const auto xs = data.X(subset);
        const auto ys = data.Y(subset);
        for (std::size_t i = 0; i < std::min(xs.size(), ys.size()); ++i) {
            if (xs[i] == 0) break;
            if (ys[i] == nullY) continue;
            const double dx = x->coordToPixel(PlotKey(xs[i], dateTimes)) - pixel.x();
            const double dy = y->coordToPixel(ys[i]) - pixel.y();
            const double distance = dx * dx + dy * dy;
            if (distance <= best) {
                best = distance;
                hit = std::pair{subset, static_cast<int>(i)};
            }
        }
    }
    return hit;
}

int ChartView::GraphAnnotationAt(QPointF pixel) const {
    const core::ChartSettings& s = m_model.Settings();
    if (!s.ShowGraphAnnotations || m_bands.empty()) return -1;
    const QFontMetrics metrics(AnnotationFont(s.GraphAnnotationTextSize));
    const auto& annotations = m_model.Annotations().GraphAnnotations();
    // The last one is drawn on top, so it is the one clicked.
    for (int index = static_cast<int>(annotations.size()) - 1; index >= 0; --index) {
        const core::GraphAnnotation& annotation = annotations[index];
        const bool cross = annotation.Type == core::kAnnotationCross;
        if (!cross && annotation.Text.isEmpty()) continue;
        const QPointF anchor = ValueToPixel(annotation.Axis, annotation.X, annotation.Y);
        if (cross && QLineF(anchor, pixel).length() <= kCrossHitRadiusPx) return index;
        if (annotation.Text.isEmpty()) continue;
        QRectF box = metrics.boundingRect(annotation.Text);
        box.moveTopLeft(anchor + QPointF(cross ? kCrossSizePx : 0.0, -box.height() / 2));
        if (box.adjusted(-2, -2, 2, 2).contains(pixel)) return index;
    }
    return -1;
}

// ---- Zoom ----------------------------------------------------------------------------------

bool ChartView::ZoomToRect(const QRect& rect) {
    const core::ChartSettings& s = m_model.Settings();
    const int bandIndex = BandAt(rect.topLeft());
    if (bandIndex < 0) return false;
    const bool horizontal = s.AllowZooming == core::ZoomDirections::sgHorzZooming ||
                            s.AllowZooming == core::ZoomDirections::sgHorzPlusVertZooming;
    const bool vertical = s.AllowZooming == core::ZoomDirections::sgVertZooming ||
                          s.AllowZooming == core::ZoomDirections::sgHorzPlusVertZooming;
    const QRect area = rect.normalized();
    if ((!horizontal || area.width() < kMinZoomPx) && (!vertical || area.height() < kMinZoomPx))
        return false;

    const Band& band = m_bands[bandIndex];
    if (horizontal && area.width() >= kMinZoomPx) {
        const QCPAxis* x = band.Rect->axis(QCPAxis::atBottom);
        m_zoomX = QCPRange(x->pixelToCoord(area.left()), x->pixelToCoord(area.right()));
    }
    if (vertical && area.height() >= kMinZoomPx) {
        const QCPAxis* y = band.Rect->axis(QCPAxis::atLeft);
        m_zoomY[band.Axis] = QCPRange(y->pixelToCoord(area.bottom()), y->pixelToCoord(area.top()));
    }
    ApplyRanges();
    replot(rpQueuedReplot);
    emit zoomedIn();
    return true;
}

void ChartView::UndoZoom() {
    m_zoomX.reset();
    m_zoomY.clear();
    ApplyRanges();
    replot(rpQueuedReplot);
}

void ChartView::Pan(double horizontalSteps, double verticalSteps, int bandIndex) {
    const core::ChartSettings& s = m_model.Settings();
    if (horizontalSteps != 0 && m_zoomX && s.ScrollingHorzZoom) {
        const double shift = m_zoomX->size() * kPanShare * horizontalSteps;
        *m_zoomX += shift;
    }
    if (verticalSteps != 0 && bandIndex >= 0 && s.ScrollingVertZoom) {
        const auto zoomed = m_zoomY.find(m_bands[bandIndex].Axis);
        if (zoomed != m_zoomY.end())
            zoomed->second += zoomed->second.size() * kPanShare * verticalSteps;
    }
    ApplyRanges();
    replot(rpQueuedReplot);
}

// ---- Mouse ---------------------------------------------------------------------------------

void ChartView::mousePressEvent(QMouseEvent* event) {
    m_lastMouse = event->position().toPoint();
    m_pressPos = m_lastMouse;
    QCustomPlot::mousePressEvent(event);
}

void ChartView::mouseMoveEvent(QMouseEvent* event) {
    m_lastMouse = event->position().toPoint();
    QCustomPlot::mouseMoveEvent(event);
    emit chartMouseMove();
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    m_lastMouse = event->position().toPoint();
    QCustomPlot::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    if ((m_lastMouse - m_pressPos).manhattanLength() > kClickSlopPx) return;
    emit chartClick();
    ReportHotSpots(event->position(), false);
}

void ChartView::mouseDoubleClickEvent(QMouseEvent* event) {
    m_lastMouse = event->position().toPoint();
    QCustomPlot::mouseDoubleClickEvent(event);
    if (event->button() == Qt::LeftButton) ReportHotSpots(event->position(), true);
}

void ChartView::ReportHotSpots(QPointF pixel, bool dblClick) {
    const core::ChartSettings& s = m_model.Settings();
    if (s.AllowDataHotSpots) {
        if (const auto point = DataPointAt(pixel))
            emit dataHotSpot(dblClick, point->first, point->second);
    }
    if (s.AllowGraphAnnotHotSpots) {
        if (const int index = GraphAnnotationAt(pixel); index >= 0)
            emit graphAnnotHotSpot(dblClick, index);
    }
}

void ChartView::wheelEvent(QWheelEvent* event) {
    if (!IsZoomed()) {
        QCustomPlot::wheelEvent(event);
        return;
    }
    const double steps = event->angleDelta().y() / 120.0;
    // Shift scrolls up and down, as in most programs that scroll sideways with the wheel.
    const bool vertical = event->modifiers().testFlag(Qt::ShiftModifier);
    Pan(vertical ? 0 : -steps, vertical ? steps : 0, BandAt(event->position()));
    event->accept();
}

}  // namespace kr820::graph
