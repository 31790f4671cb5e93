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
                    const LineSource& line, const HeadingSource& heading) {
    const int pages = layout.Pages(count);
    for (int i = 0; i < count; ++i) {
        if (layout.StartsNewPage(i) && !sink.NewPage()) return false;
        if (heading && i % layout.LinesPerPage() == 0) {
            const QStringList lines = heading(layout.Page(i) + 1, pages);
            for (int k = 0; k < lines.size() && k < layout.HeadingLines(); ++k)
                sink.DrawLine(TextPageLayout::kLeft, TextPageLayout::HeadingTop(k), lines.at(k));
        }
        sink.DrawLine(TextPageLayout::kLeft, layout.Top(i), line(i));
    }
    return true;
}

QStringList TextHeadingLines(const TextPrintHeading& heading, int page, int pages) {
    QStringList facts{QStringLiteral("Start Time %1").arg(heading.StartTime),
                      QStringLiteral("Sampling Rate %1 mm:ss").arg(heading.SamplingRate),
                      QStringLiteral("Data No. %1").arg(heading.DataNo)};
    if (!heading.Unit.isEmpty()) facts << QStringLiteral("Unit %1").arg(heading.Unit);
    // The list's line: the number in 5, two blanks, date and time, T1 and T2 in 9 each.
    constexpr int kNumber = 5, kGap = 2, kValue = 9;
    const int dateTime = std::max<int>(QStringLiteral("Date Time").size(),
                                       int(heading.FirstLine.size()) - kNumber - kGap - 2 * kValue);
    const QString columns = QStringLiteral("No.").rightJustified(kNumber) + QString(kGap, u' ') +
                            QStringLiteral("Date Time").leftJustified(dateTime) +
                            QStringLiteral("T1").rightJustified(kValue) +
                            QStringLiteral("T2").rightJustified(kValue);
    return {heading.Caption + QStringLiteral("    Page %1 of %2").arg(page).arg(pages),
            facts.join(QStringLiteral("    ")), columns, QString()};
}

QFont TextPrintFont() {
    // The classic terminal face where a system has it, else the system's fixed-pitch face.
    QFont font(QStringLiteral("FixedSys"));
    font.setStyleHint(QFont::TypeWriter);
    if (!LettersAllAsWide(font)) font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(kFontPoints);
    return font;
}

TextPrintResult PrintTextLines(QPagedPaintDevice& device, int count, const LineSource& line,
                               const TextPrintHeading* heading) {
    QPainter painter;
    if (!painter.begin(&device)) return TextPrintResult::NotStarted;
    painter.setFont(TextPrintFont());
    PainterLineSink sink(painter, device);
    HeadingSource headingLines;
    if (heading) {
        headingLines = [heading](int page, int pages) {
            return TextHeadingLines(*heading, page, pages);
        };
    }
    const int headingCount = heading ? int(TextHeadingLines(*heading, 1, 1).size()) : 0;
    const bool whole = WriteTextLines(sink, TextPageLayout(device.height(), headingCount), count,
                                      line, headingLines);
    // Ending the job also sends what was written when a page could not be started.
    const bool ended = painter.end();
    return whole && ended ? TextPrintResult::Printed : TextPrintResult::Interrupted;
}

}  // namespace kr820::print
