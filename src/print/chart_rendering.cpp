// SPDX-License-Identifier: MIT
#include "print/chart_rendering.h"

#include <qcustomplot.h>

#include <QFontMetricsF>
#include <QPrinter>
#include <algorithm>

namespace kr820::print {

void PaintPlot(QCustomPlot& plot, QCPPainter& painter, const QRectF& target) {
    const int width = plot.width();
    const int height = plot.height();
    if (width <= 0 || height <= 0 || target.isEmpty()) return;
    const double scale = std::min(target.width() / width, target.height() / height);
    painter.save();
    painter.translate(target.left() + (target.width() - width * scale) / 2, target.top());
    painter.scale(scale, scale);
    plot.toPainter(&painter, width, height);
    painter.restore();
}

bool PrintPlot(QCustomPlot& plot, QPrinter& printer, const QStringList& header) {
    // The plot lays its texts out in screen pixels; the printer counts in the same units, and
    // the page's scale then enlarges texts and lines alike. Printing goes out as vectors anyway.
    printer.setResolution(plot.logicalDpiY());
    QCPPainter painter;
    if (!painter.begin(&printer)) return false;
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    const QRectF page(QPointF(0, 0), printer.pageRect(QPrinter::DevicePixel).size());
    // Which window, from where and when: a page found in a tray weeks later says so itself.
    QFont font = plot.font();
    const QFontMetricsF metrics(font, &printer);
    double baseline = metrics.ascent();
    for (qsizetype i = 0; i < header.size(); ++i) {
        font.setBold(i == 0);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QPointF(0, baseline), header[i]);
        baseline += metrics.lineSpacing();
    }
    const double top = header.isEmpty() ? 0 : baseline;
    PaintPlot(plot, painter, page.adjusted(0, top, 0, 0));
    return painter.end();
}

}  // namespace kr820::print
