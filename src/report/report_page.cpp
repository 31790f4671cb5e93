// SPDX-License-Identifier: MIT
#include "report/report_page.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPainterPath>
#include <QPdfWriter>
#include <cmath>

#include "core/files/reading_rows.h"

namespace kr820::report {
namespace {

const std::array<QColor, 2> kChannelColours{QColor(0, 90, 200), QColor(200, 60, 0)};

// Writes lines top-down on the pages of a device, starting a page where one does not fit.
class PageWriter {
public:
    PageWriter(QPainter& painter, QPagedPaintDevice& device)
        : m_painter(painter),
          m_device(device),
          m_area(device.pageLayout().paintRectPixels(device.logicalDpiX())) {
        m_y = m_area.top();
    }

    qreal Width() const { return m_area.width(); }
    qreal Left() const { return m_area.left(); }
    qreal Y() const { return m_y; }

    // Room for `height` device pixels, on a new page when this one lacks it.
    void Reserve(qreal height) {
        if (m_y + height <= m_area.bottom() || m_y == m_area.top()) return;
        m_device.newPage();
        m_y = m_area.top();
    }
    void Skip(qreal height) { m_y += height; }

    void Line(const QString& text, qreal points, bool bold = false) {
        QFont font = m_painter.font();
        font.setPointSizeF(points);
        font.setBold(bold);
        m_painter.setFont(font);
        const QRectF bounds = m_painter.boundingRect(QRectF(m_area.left(), 0, m_area.width(), 1e6),
                                                     Qt::TextWordWrap, text);
        Reserve(bounds.height());
        m_painter.drawText(QRectF(m_area.left(), m_y, m_area.width(), bounds.height()),
                           Qt::TextWordWrap, text);
        m_y += bounds.height();
    }

    // A row of cells at the given fractions of the width.
    void Cells(const std::array<QString, 3>& texts, const std::array<qreal, 3>& at, qreal points,
               bool bold = false) {
        QFont font = m_painter.font();
        font.setPointSizeF(points);
        font.setBold(bold);
        m_painter.setFont(font);
        qreal height = 0;
        std::array<QRectF, 3> cells;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const qreal right = i + 1 < at.size() ? at[i + 1] : 1.0;
            cells[i] = QRectF(m_area.left() + at[i] * m_area.width(), 0,
                              (right - at[i]) * m_area.width() * 0.97, 1e6);
            height = std::max(
                height, m_painter.boundingRect(cells[i], Qt::TextWordWrap, texts[i]).height());
        }
        Reserve(height);
        for (std::size_t i = 0; i < texts.size(); ++i) {
            cells[i].moveTop(m_y);
            cells[i].setHeight(height);
            m_painter.drawText(cells[i], Qt::TextWordWrap, texts[i]);
        }
        m_y += height;
    }

private:
    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    QRectF m_area;
    qreal m_y = 0;
};

void PaintChart(QPainter& painter, const QRectF& frame, const core::ReportDocument& document) {
    const core::ReportChart& chart = document.Chart;
    const core::ReportFigures& figures = document.Figures;
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int c = 0; c < 2; ++c) {
        if (!figures.Reported[c]) continue;
        for (const auto& column : chart.Columns[c]) {
            if (std::isnan(column.Low)) continue;
            low = std::min(low, column.Low);
            high = std::max(high, column.High);
        }
        for (const auto& limit : {figures.Channels[c].High, figures.Channels[c].Low}) {
            if (limit) {
                low = std::min(low, limit->Limit);
                high = std::max(high, limit->Limit);
            }
        }
    }
    painter.save();
    // Lines a quarter of a point wide whatever the device's resolution.
    const qreal thin = painter.device()->logicalDpiX() / 288.0;
    QFont font = painter.font();
    font.setPointSizeF(7);
    font.setBold(false);
    painter.setFont(font);
    const qreal labelWidth = painter.fontMetrics().horizontalAdvance(QStringLiteral("-0000.0 °C"));
    const qreal labelHeight = painter.fontMetrics().height();
    const QRectF plot = frame.adjusted(labelWidth, labelHeight * 0.5, 0, -labelHeight * 1.5);
    painter.setPen(QPen(Qt::black, thin));
    painter.drawRect(plot);
    if (!std::isfinite(low)) {
        painter.drawText(plot, Qt::AlignCenter, QStringLiteral("no readings"));
        painter.restore();
        return;
    }
    if (high - low < 1.0) {
        low -= 0.5;
        high += 0.5;
    }
    const double margin = (high - low) * 0.05;
    low -= margin;
    high += margin;
    const auto yOf = [&](double value) {
        return plot.bottom() - (value - low) / (high - low) * plot.height();
    };
    const qint64 span = std::max<qint64>(chart.ToMs - chart.FromMs, 1);
    const auto xOfTime = [&](qint64 ms) {
        return plot.left() + static_cast<double>(ms - chart.FromMs) / span * plot.width();
    };
    // Axis labels: the extremes and the middle of the scale, the range's ends in time.
    const QString unit = core::UnitSymbol(figures.Unit);
    for (const double value : {low + margin, (low + high) / 2, high - margin}) {
        painter.drawText(
            QRectF(frame.left(), yOf(value) - labelHeight / 2, labelWidth * 0.95, labelHeight),
            Qt::AlignRight | Qt::AlignVCenter,
            QStringLiteral("%1 %2").arg(core::DecimalText(value), unit));
    }
    painter.drawText(QRectF(plot.left(), plot.bottom(), plot.width(), labelHeight * 1.5),
                     Qt::AlignLeft | Qt::AlignBottom, core::IsoTimeAt(chart.FromMs / 1000));
    painter.drawText(QRectF(plot.left(), plot.bottom(), plot.width(), labelHeight * 1.5),
                     Qt::AlignRight | Qt::AlignBottom, core::IsoTimeAt(chart.ToMs / 1000));
    painter.setClipRect(plot);
    for (int c = 0; c < 2; ++c) {
        if (!figures.Reported[c]) continue;
        const auto& columns = chart.Columns[c];
        const qreal step = plot.width() / static_cast<qreal>(columns.size());
        painter.setPen(QPen(kChannelColours[c], 2 * thin));
        QPainterPath path;
        bool drawing = false;
        for (std::size_t i = 0; i < columns.size(); ++i) {
            if (columns[i].Broken) drawing = false;  // a gap stays a gap on the chart
            if (std::isnan(columns[i].Low)) continue;
            const qreal x = plot.left() + (static_cast<qreal>(i) + 0.5) * step;
            if (!drawing)
                path.moveTo(x, yOf(columns[i].Low));
            else
                path.lineTo(x, yOf(columns[i].Low));
            path.lineTo(x, yOf(columns[i].High));
            drawing = true;
        }
        painter.drawPath(path);
        painter.setPen(QPen(kChannelColours[c], thin, Qt::DashLine));
        for (const auto& limit : {figures.Channels[c].High, figures.Channels[c].Low}) {
            if (limit)
                painter.drawLine(QPointF(plot.left(), yOf(limit->Limit)),
                                 QPointF(plot.right(), yOf(limit->Limit)));
        }
    }
    // The recording's alarm marks: a red tick at the top of the chart.
    painter.setPen(QPen(Qt::red, 2 * thin));
    for (const core::ReportMark& mark : document.Marks) {
        const qreal x = xOfTime(mark.TimeMs);
        painter.drawLine(QPointF(x, plot.top()), QPointF(x, plot.top() + plot.height() * 0.06));
    }
    painter.restore();
}

}  // namespace

bool PaintReport(QPagedPaintDevice& device, const core::ReportDocument& document) {
    QPainter painter;
    if (!painter.begin(&device)) return false;
    PageWriter page(painter, device);
    page.Line(core::kReportTitle, 15, true);
    const QStringList header = core::ReportHeaderLines(document);
    for (qsizetype i = 0; i < header.size(); ++i)
        page.Line(header[i], i == 0 && !document.Heading.isEmpty() ? 11 : 9,
                  i == 0 && !document.Heading.isEmpty());
    page.Skip(page.Width() * 0.015);

    const std::array<qreal, 3> columns{0.0, 0.3, 0.65};
    const auto& reported = document.Figures.Reported;
    page.Cells({QString(), reported[0] ? QStringLiteral("T1") : QString(),
                reported[1] ? QStringLiteral("T2") : QString()},
               columns, 9, true);
    for (const core::ReportTableRow& row : core::ReportTable(document))
        page.Cells({row.Label, row.Values[0], row.Values[1]}, columns, 8);
    page.Skip(page.Width() * 0.015);

    const qreal chartHeight = page.Width() * 0.42;
    page.Reserve(chartHeight);
    PaintChart(painter, QRectF(page.Left(), page.Y(), page.Width(), chartHeight), document);
    page.Skip(chartHeight + page.Width() * 0.015);

    for (const QString& line : core::ReportFooterLines(document)) page.Line(line, 7);
    if (!document.Marks.empty()) {
        page.Skip(page.Width() * 0.01);
        page.Line(QStringLiteral("Alarms"), 9, true);
        for (const core::ReportMark& mark : document.Marks)
            page.Line(QStringLiteral("%1  %2").arg(core::IsoTimeAt(mark.TimeMs / 1000), mark.Text),
                      7);
    }
    return painter.end();
}

std::optional<QByteArray> ReportPdf(const core::ReportDocument& document, QString* error) {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        if (error) *error = QStringLiteral("a PDF needs the fonts of a GUI application");
        return std::nullopt;
    }
    QBuffer bytes;
    bytes.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&bytes);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(15, 15, 15, 15), QPageLayout::Millimeter);
        writer.setResolution(300);
        writer.setTitle(core::kReportTitle);
        writer.setCreator(document.Program);
        if (!PaintReport(writer, document)) {
            if (error) *error = QStringLiteral("the page could not be drawn");
            return std::nullopt;
        }
    }
    return bytes.data();
}

}  // namespace kr820::report
