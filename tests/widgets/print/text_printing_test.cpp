// SPDX-License-Identifier: MIT
// The point list on paper: how many lines a page takes, where each line goes, and whole print
// jobs into PDF files.
#include "print/text_printing.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <vector>

#include "pdf_text.h"
#include "print/text_page_layout.h"

namespace kr820::print {
namespace {

TEST(TextPageLayoutTest, PagesHoldWholeTensOfLinesAndAtLeastOne) {
    EXPECT_EQ(TextPageLayout(3300).LinesPerPage(), 30);
    EXPECT_EQ(TextPageLayout(3450).LinesPerPage(), 30);  // 34 lines fit; 30 are used
    EXPECT_EQ(TextPageLayout(1000).LinesPerPage(), 10);
    EXPECT_EQ(TextPageLayout(999).LinesPerPage(), 1);
    EXPECT_EQ(TextPageLayout(150).LinesPerPage(), 1);
    EXPECT_EQ(TextPageLayout(0).LinesPerPage(), 1);
}

struct PlacedLine {
    int page, left, top;
    QString text;
};

// Records what a printer would be asked to do.
class RecordingSink final : public TextLineSink {
public:
    bool NewPage() override {
        ++page;
        return page < refuseFromPage;
    }
    void DrawLine(int left, int top, const QString& text) override {
        lines.push_back({page, left, top, text});
    }
    int page = 0;
    int refuseFromPage = 1000;
    std::vector<PlacedLine> lines;
};

QString Numbered(int i) { return QStringLiteral("line %1").arg(i); }

TEST(WriteTextLinesTest, LineThirtyOpensPageTwoAtTheTop) {
    RecordingSink sink;
    ASSERT_TRUE(WriteTextLines(sink, TextPageLayout(3300), 65, Numbered));
    ASSERT_EQ(sink.lines.size(), 65u);
    EXPECT_EQ(sink.page, 2);  // three pages: 30 + 30 + 5
    const PlacedLine& first = sink.lines[0];
    EXPECT_EQ(first.page, 0);
    EXPECT_EQ(first.left, 1);
    EXPECT_EQ(first.top, 100);
    EXPECT_EQ(sink.lines[29].page, 0);
    EXPECT_EQ(sink.lines[29].top, 3000);
    const PlacedLine& thirtieth = sink.lines[30];
    EXPECT_EQ(thirtieth.page, 1);
    EXPECT_EQ(thirtieth.top, 100);
    EXPECT_EQ(thirtieth.text, "line 30");
    EXPECT_EQ(sink.lines[64].page, 2);
    EXPECT_EQ(sink.lines[64].top, 500);
}

TEST(WriteTextLinesTest, ShortPagesTakeOneLineEach) {
    RecordingSink sink;
    ASSERT_TRUE(WriteTextLines(sink, TextPageLayout(800), 3, Numbered));
    ASSERT_EQ(sink.lines.size(), 3u);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(sink.lines[i].page, i);
        EXPECT_EQ(sink.lines[i].top, 100);
    }
}

TEST(WriteTextLinesTest, StopsWhereThePrinterRefusesAPage) {
    RecordingSink sink;
    sink.refuseFromPage = 1;
    EXPECT_FALSE(WriteTextLines(sink, TextPageLayout(1000), 25, Numbered));
    EXPECT_EQ(sink.lines.size(), 10u);
}

TEST(WriteTextLinesTest, EveryPageOpensWithItsHeadingAndNumber) {
    const TextPrintHeading heading{"Real-Time Graph",
                                   "07/12/2026 09:00:00",
                                   "00:02",
                                   "45",
                                   "F",
                                   "    1  07/12/2026  09:00:00     21.4       OL"};
    const TextPageLayout layout(3300, 4);  // 30 lines, 4 of them the heading's
    EXPECT_EQ(layout.LinesPerPage(), 26);
    RecordingSink sink;
    ASSERT_TRUE(WriteTextLines(sink, layout, 45, Numbered, [&heading](int page, int pages) {
        return TextHeadingLines(heading, page, pages);
    }));
    ASSERT_EQ(sink.lines.size(), 45u + 2 * 4);
    EXPECT_EQ(sink.lines[0].text, "Real-Time Graph    Page 1 of 2");
    EXPECT_EQ(sink.lines[0].top, 100);
    EXPECT_EQ(
        sink.lines[1].text,
        "Start Time 07/12/2026 09:00:00    Sampling Rate 00:02 mm:ss    Data No. 45    Unit F");
    // The column names stand over their columns: T1 and T2 end where the values end.
    EXPECT_EQ(sink.lines[2].text, "  No.  Date Time                  T1       T2");
    EXPECT_EQ(sink.lines[2].text.size(), heading.FirstLine.size());
    EXPECT_EQ(sink.lines[4].text, "line 0");
    EXPECT_EQ(sink.lines[4].top, 500);
    const PlacedLine& secondPage = sink.lines[4 + 26];
    EXPECT_EQ(secondPage.page, 1);
    EXPECT_EQ(secondPage.text, "Real-Time Graph    Page 2 of 2");
    EXPECT_EQ(sink.lines[4 + 26 + 4].text, "line 26");
    EXPECT_EQ(sink.lines[4 + 26 + 4].top, 500);
}

TEST(TextPrintFontTest, IsFixedPitchAtEightPoints) {
    const QFont font = TextPrintFont();
    EXPECT_EQ(font.pointSize(), 8);
    const QFontMetricsF metrics(font);
    // The list's columns line up only when every character is as wide as the others.
    for (const QChar c : QStringLiteral("i1 .:-O"))
        EXPECT_EQ(metrics.horizontalAdvance(c), metrics.horizontalAdvance(QLatin1Char('W')))
            << QFontInfo(font).family().toStdString() << " '" << QString(c).toStdString() << "'";
}

// A PDF "printer" whose page is `heightUnits` device units high at 300 units to the inch.
class PdfPrinter {
public:
    PdfPrinter(const QString& path, int heightUnits) : m_writer(path) {
        m_writer.setResolution(300);
        m_writer.setPageLayout(
            QPageLayout(QPageSize(QSizeF(8.5 * 72, heightUnits * 72.0 / 300), QPageSize::Point,
                                  QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF()));
    }
    QPdfWriter& Device() { return m_writer; }

private:
    QPdfWriter m_writer;
};

class TextPrintJobTest : public ::testing::Test {
protected:
    QString Path() const { return dir.filePath("list.pdf"); }
    QTemporaryDir dir;
};

TEST_F(TextPrintJobTest, PrintsEveryLineOnPagesOfThirty) {
    {
        PdfPrinter printer(Path(), 3300);
        ASSERT_EQ(printer.Device().height(), 3300);
        EXPECT_EQ(PrintTextLines(printer.Device(), 65, Numbered), TextPrintResult::Printed);
    }
    const testing::PdfContent pdf = testing::ReadPdf(Path());
    ASSERT_EQ(pdf.pages.size(), 3u);
    EXPECT_TRUE(pdf.pages[0].contains("line 0"));
    EXPECT_TRUE(pdf.pages[0].contains("line 29"));
    EXPECT_FALSE(pdf.pages[0].contains("line 30"));
    EXPECT_TRUE(pdf.pages[1].startsWith("line 30"));
    EXPECT_TRUE(pdf.pages[2].contains("line 64"));
}

TEST_F(TextPrintJobTest, AnEmptyListMakesAJobWithoutALine) {
    {
        PdfPrinter printer(Path(), 3450);
        EXPECT_EQ(PrintTextLines(printer.Device(), 0, Numbered), TextPrintResult::Printed);
    }
    const testing::PdfContent pdf = testing::ReadPdf(Path());
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_TRUE(pdf.pages[0].isEmpty());
}

TEST_F(TextPrintJobTest, AJobThatCannotStartSaysSo) {
    PdfPrinter printer(dir.filePath("missing/list.pdf"), 3300);
    EXPECT_EQ(PrintTextLines(printer.Device(), 3, Numbered), TextPrintResult::NotStarted);
}

}  // namespace
}  // namespace kr820::print
