// SPDX-License-Identifier: MIT
#include "graph/chart_band_style.h"

#include <qcustomplot.h>

#include <algorithm>

#include "core/chart/chart_model.h"
#include "graph/chart_look.h"
#include "graph/whole_time_ticker.h"

namespace kr820::graph {

namespace {

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

// The Y ticker aims at five steps but may take up to about seven and a half; the time ticker
// takes at most its tick count (see WholeTimeTicker).
constexpr int kMostValueSteps = 8;
constexpr int kMostTimeSteps = 5;
constexpr int kLabelGapPx = 8;

QString TimeLabelFormat(const QLocale& locale) {
    return QStringLiteral("hh:mm:ss\n") + locale.dateFormat(QLocale::ShortFormat);
}

// The smallest plotting rectangle on which neighbouring tick labels stay apart, on both axes.
QSize LeastPlotSize(const QFont& font, bool dateTimes, const QLocale& locale) {
    const QFontMetrics metrics(font);
    const QString widest =
        dateTimes ? locale.toString(QDateTime(QDate(2000, 12, 28), QTime(23, 59, 59), Qt::UTC),
                                    TimeLabelFormat(locale))
                  : locale.toString(-88888.8, 'f', 1);
    int labelWidth = 0;
    for (const QString& line : widest.split(u'\n'))
        labelWidth = std::max(labelWidth, metrics.horizontalAdvance(line));
    // Value labels are figures, which rise from the baseline no higher than the ascent: spaced
    // that far apart, they keep a gap between them.
    return {kMostTimeSteps * (labelWidth + kLabelGapPx), kMostValueSteps * metrics.ascent()};
}

// Joined, both curves share the one band: its axis is labelled for both channels ("T1, T2").
QString BandLabel(const core::ChartModel& model, int axis) {
    const core::ChartAxes& axes = model.Axes();
    if (axes.IsSplit() || axis != 0) return axes.Axis(axis).YAxisLabel;
    QStringList labels;
    for (int subset = 0; subset < model.Data().Subsets(); ++subset) {
        const QString& label = axes.Axis(subset).YAxisLabel;
        if (!label.isEmpty() && !labels.contains(label)) labels << label;
    }
    return labels.join(QStringLiteral(", "));
}

}  // namespace

void StyleBand(QCPAxisRect& rect, const core::ChartModel& model, int axis, bool lowest,
               bool dateTimes, const QLocale& locale) {
    const core::ChartSettings& s = model.Settings();
    const QColor text = ToQColor(s.TextColor);
    const QFont font = ChartFont(s.LabelFont, s.FontSize);
    const QPen gridPen = GridPen(s.GridStyle, ToQColor(s.GraphForeColor));
    const bool xGrid = s.GridLineControl == core::GridLines::sgXAxis ||
                       s.GridLineControl == core::GridLines::sgYPlusXAxis;
    const bool yGrid = s.GridLineControl == core::GridLines::sgYAxis ||
                       s.GridLineControl == core::GridLines::sgYPlusXAxis;
    const QPen framePen(text, std::max(SeparatorWidth(model.Axes().MultiAxesSeparators()), 1));

    rect.setBackground(ToQColor(s.GraphBackColor));
    rect.setMinimumSize(LeastPlotSize(font, dateTimes, locale));
    rect.setRangeDrag(Qt::Orientations());
    rect.setRangeZoom(Qt::Orientations());
    for (QCPAxis* side : rect.axes()) {
        side->setVisible(true);
        side->setBasePen(framePen);
        side->setTickPen(QPen(text, 0));
        side->setSubTickPen(QPen(text, 0));
        side->setTickLabelColor(text);
        side->setLabelColor(text);
        side->setTickLabelFont(font);
        side->setLabelFont(font);
        side->grid()->setSubGridVisible(false);
        side->grid()->setZeroLinePen(Qt::NoPen);
    }
    // Top and right only close the frame.
    for (QCPAxis* frame : {rect.axis(QCPAxis::atTop), rect.axis(QCPAxis::atRight)}) {
        frame->setTicks(false);
        frame->setTickLabels(false);
        frame->grid()->setVisible(false);
    }

    QCPAxis* x = rect.axis(QCPAxis::atBottom);
    if (dateTimes) {
        auto ticker = QSharedPointer<WholeTimeTicker>::create();
        ticker->setDateTimeSpec(Qt::UTC);
        ticker->setTickCount(kMostTimeSteps);
        ticker->setDateTimeFormat(TimeLabelFormat(locale));
        x->setTicker(ticker);
    }
    x->grid()->setVisible(xGrid);
    x->grid()->setPen(gridPen);
    // The bands share one time axis: only the lowest one writes it out.
    x->setTickLabels(lowest);
    x->setLabel(lowest ? s.XAxisLabel : QString());

    QCPAxis* y = rect.axis(QCPAxis::atLeft);
    y->grid()->setVisible(yGrid);
    y->grid()->setPen(gridPen);
    y->setLabel(BandLabel(model, axis));
}

}  // namespace kr820::graph
