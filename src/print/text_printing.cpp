// SPDX-License-Identifier: MIT
#include "print/text_printing.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>

#include "print/text_page_layout.h"

namespace kr820::print {
namespace {

constexpr int kFontPoints = 8;

// Lines on a painter: each given by the top of its text cell, as the layout counts.
class PainterLineSink final : public TextLineSink {
public:
    PainterLineSink(QPainter& painter, QPagedPaintDevice& device)
        : m_painter(painter), m_device(device), m_ascent(painter.fontMetrics().ascent()) {}

    bool NewPage() override { return m_device.newPage(); }
    void DrawLine(int left, int top, const QString& text) override {
        m_painter.drawText(left, top + m_ascent, text);
    }

private:
    QPainter& m_painter;
    QPagedPaintDevice& m_device;
    int m_ascent;
};

// Some monospaced faces do not declare themselves so; their letters' widths tell.
bool LettersAllAsWide(const QFont& font) {
    const QFontMetricsF metrics(font);
    const qreal width = metrics.horizontalAdvance(QLatin1Char('W'));
    return width > 0 && metrics.horizontalAdvance(QLatin1Char('i')) == width &&
           metrics.horizontalAdvance(QLatin1Char('1')) == width;
}

}  // namespace

bool WriteTextLines(TextLineSink& sink, const TextPageLayout& layout, int count,
                    const LineSource& line) {
    for (int i = 0; i < count; ++i) {
        if (layout.StartsNewPage(i) && !sink.NewPage()) return false;
        sink.DrawLine(TextPageLayout::kLeft, layout.Top(i), line(i));
    }
    return true;
}

QFont TextPrintFont() {
    // The classic terminal face where a system has it, else the system's fixed-pitch face.
    QFont font(QStringLiteral("FixedSys"));
    font.setStyleHint(QFont::TypeWriter);
    if (!LettersAllAsWide(font)) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kFontPoints);
    return font;
}

TextPrintResult PrintTextLines(QPagedPaintDevice& device, int count, const LineSource& line) {
    QPainter painter;
    if (!painter.begin(&device)) return TextPrintResult::NotStarted;
    painter.setFont(TextPrintFont());
    PainterLineSink sink(painter, device);
    const bool whole = WriteTextLines(sink, TextPageLayout(device.height()), count, line);
    // Ending the job also sends what was written when a page could not be started.
    const bool ended = painter.end();
    return whole && ended ? TextPrintResult::Printed : TextPrintResult::Interrupted;
}

}  // namespace kr820::print
