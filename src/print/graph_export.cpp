// SPDX-License-Identifier: MIT
#include "print/graph_export.h"

#include <qcustomplot.h>

#include <QBuffer>
#include <QFileInfo>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <algorithm>
#include <cmath>

#include "graph/shown_statistics.h"
#include "print/chart_rendering.h"

namespace kr820::print {
namespace {

constexpr double kMarginPx = 12;
constexpr int kHeaderPoints = 9;

QFont HeaderFont(const QCustomPlot& plot) {
    QFont font = plot.font();
    font.setPointSize(kHeaderPoints);
    return font;
}

}  // namespace

std::optional<ExportKind> ExportKindOf(const QString& path) {
    const QString suffix = QFileInfo(path).suffix().toLower();
    if (suffix == QLatin1String("pdf")) return ExportKind::Pdf;
    if (suffix == QLatin1String("png")) return ExportKind::Png;
    return std::nullopt;
}

QStringList ExportHeaderLines(const QString& caption, const QString& identification,
                              const graph::ShownStatistics& s) {
    return {caption, identification,
            QStringLiteral("Start Time %1    Sampling Rate %2 mm:ss    Data No. %3")
                .arg(s.StartTime, s.SamplingRate, s.DataNo),
            QStringLiteral("T1 MAX %1    MIN %2    AVG %3").arg(s.T1Max, s.T1Min, s.T1Avg),
            QStringLiteral("T2 MAX %1    MIN %2    AVG %3").arg(s.T2Max, s.T2Min, s.T2Avg)};
}

QByteArray ChartPdf(QCustomPlot& plot, const QStringList& header, const QString& title) {
    QByteArray pdf;
    QBuffer buffer(&pdf);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setTitle(title);
    writer.setCreator(QStringLiteral("KR820"));
    // Counting in the plot's pixels keeps its texts the size its layout measured them at.
    const int dpi = plot.logicalDpiY();
    writer.setResolution(dpi);

    const QFont font = HeaderFont(plot);
    const QFontMetricsF metrics(font, &writer);
    double headerWidth = 0;
    for (const QString& line : header)
        headerWidth = std::max(headerWidth, metrics.horizontalAdvance(line));
    const double headerHeight = header.size() * metrics.lineSpacing() + 2 * kMarginPx;
    const double width = std::max<double>(plot.width(), headerWidth + 2 * kMarginPx);
    const double height = headerHeight + plot.height();
    const double pointsPerPixel = 72.0 / dpi;
    writer.setPageLayout(QPageLayout(
        QPageSize(QSizeF(std::ceil(width * pointsPerPixel), std::ceil(height * pointsPerPixel)),
                  QPageSize::Point, QString(), QPageSize::ExactMatch),
        QPageLayout::Portrait, QMarginsF()));

    QCPPainter painter;
    if (!painter.begin(&writer)) return {};
    painter.setMode(QCPPainter::pmVectorized);
    painter.setMode(QCPPainter::pmNoCaching);
    painter.fillRect(QRectF(0, 0, width, height), Qt::white);
    painter.setPen(Qt::black);
    double baseline = kMarginPx + metrics.ascent();
    for (qsizetype i = 0; i < header.size(); ++i) {
        QFont lineFont = font;
        lineFont.setBold(i == 0);  // the window's caption
        painter.setFont(lineFont);
        painter.drawText(QPointF(kMarginPx, baseline), header[i]);
        baseline += metrics.lineSpacing();
    }
    PaintPlot(plot, painter, QRectF(0, headerHeight, width, plot.height()));
    if (!painter.end()) return {};
    return pdf;
}

QByteArray ChartPng(QCustomPlot& plot) {
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (!plot.toPixmap(0, 0, 1.0).save(&buffer, "PNG")) return {};
    return png;
}

}  // namespace kr820::print
