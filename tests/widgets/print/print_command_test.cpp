// SPDX-License-Identifier: MIT
// Print, Printer Setup and Export Graph through the main window: which graph window they act on,
// the dialogs on the way, and what reaches the PDF or PNG file.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPrinter>
#include <QStandardPaths>
#include <QTabWidget>

#include "app/export_graph_command.h"
#include "core/chart/chart_model.h"
#include "core/settings/program_folder.h"
#include "graph/chart_settings_dialog.h"
#include "graph/chart_view.h"
#include "graph/data_list_model.h"
#include "graph/frm_graph.h"
#include "graph/recording_list_model.h"
#include "logger_memory_builder.h"
#include "main_window_rig.h"
#include "pdf_text.h"
#include "print/frm_print_option.h"
#include "print/print_commands.h"
#include "store/store_writer.h"
#include "store/stored_recording.h"

namespace kr820::print {
namespace {

QByteArray TwelvePointImage() {
    emulator::DataSet set;
    set.start = {2026, 12, 7, 9, 0, 0};
    for (int p = 0; p < 12; ++p)
        set.pairs.push_back({static_cast<std::int16_t>(250 + p), static_cast<std::int16_t>(-p)});
    return QByteArray::fromStdString(emulator::BuildMemoryImage({set}));
}

class PrintCommandTest : public kr820::testing::MainWindowRig {
protected:
    void SetUp() override {
        StartProgram();
        logger = window->ShowDataLoggerWindow();
        ASSERT_EQ(logger->ShowMemoryImage(TwelvePointImage()).Code, core::ParseCode::Success);
        realTime = window->RealTimeGraphWindow();
        ASSERT_NE(realTime, nullptr);
    }
    QMdiArea& Workspace() { return *window->Workspace(); }
    static QMdiSubWindow* Frame(QWidget* child) {
        return qobject_cast<QMdiSubWindow*>(child->parentWidget());
    }
    void Activate(QWidget* child) { Workspace().setActiveSubWindow(Frame(child)); }

    // The Print Option dialog answered with `choice`; the chart's settings dialog's pages noted.
    void Choose(int choice) {
        prompter.onDialog = [this, choice](QDialog& dialog) {
            if (qobject_cast<TfrmPrintOption*>(&dialog)) return choice;
            if (auto* settings = qobject_cast<graph::ChartSettingsDialog*>(&dialog)) {
                const auto* pages = settings->findChild<QTabWidget*>();
                for (int i = 0; pages && i < pages->count(); ++i)
                    settingsPages << pages->tabText(i);
                return int(QDialog::Accepted);
            }
            return int(QDialog::Rejected);
        };
    }
    // The print dialog confirmed with a PDF file as the printer.
    void PrintInto(const QString& path) {
        prompter.onPrintDialog = [path](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(path);
            return true;
        };
    }

    graph::TfrmGraph* logger = nullptr;
    graph::TfrmGraph* realTime = nullptr;
    QStringList settingsPages;
    const QString pdfPath = InHome("printed.pdf");
};

TEST_F(PrintCommandTest, PrintTextTakesTheActiveDataLoggerWindowsList) {
    Activate(realTime);
    Activate(logger);  // the real-time window is behind it
    Choose(TfrmPrintOption::PrintText);
    PrintInto(pdfPath);
    window->btnPrintClick();

    EXPECT_EQ(prompter.printDialogsShown, 1);
    EXPECT_TRUE(settingsPages.isEmpty());
    const auto pdf = kr820::testing::ReadPdf(pdfPath);
    ASSERT_EQ(pdf.pages.size(), 1u);
    const QStringList lines = pdf.pages[0].split(QLatin1Char('\n'));
    // The heading (its blank last line writes nothing), then the list.
    ASSERT_EQ(lines.size(), 3 + 12);
    EXPECT_EQ(lines[0], "DataLogger    Page 1 of 1");
    EXPECT_EQ(lines[1], QStringLiteral("Start Time %1    Sampling Rate %2 mm:ss    Data No. 12    "
                                       "Unit C")
                            .arg(logger->findChild<QLineEdit*>("txtStartTime")->text(),
                                 logger->findChild<QComboBox*>("txtSamplingRate")->currentText()));
    EXPECT_TRUE(lines[2].startsWith("  No.  Date Time")) << lines[2].toStdString();
    EXPECT_TRUE(lines[2].endsWith("       T1       T2")) << lines[2].toStdString();
    EXPECT_EQ(lines[2].size(), logger->DataList().Line(0).size());
    EXPECT_EQ(lines[3], logger->DataList().Line(0));
    EXPECT_EQ(lines[14], logger->DataList().Line(11));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('|').toStdString();
}

// A recording kept in its store has no list in memory: Print Text lists its readings from the
// store, every one of them.
TEST_F(PrintCommandTest, PrintTextOfAStoredRecordingListsTheStoresReadings) {
    const QString storePath = InHome("long.kr8db");
    {
        store::StoreHeader header;
        header.StartMs = 1'700'000'000'000;
        header.RateSeconds = 1;
        QString error;
        auto writer = store::StoreWriter::Create(storePath, header, &error);
        ASSERT_TRUE(writer) << error.toStdString();
        for (qint64 i = 0; i < 150; ++i) {
            store::StoredReading reading;
            reading.TimeMs = header.StartMs + i * 1000;
            reading.T1 = float(20.0 + 0.1 * double(i));
            reading.T2 = -1.5F;
            ASSERT_TRUE(writer->Append(reading));
        }
        ASSERT_TRUE(writer->Finish(header.StartMs + 149 * 1000));
    }
    QString error;
    auto recording = store::StoredRecording::Open(storePath, &error);
    ASSERT_TRUE(recording) << error.toStdString();
    graph::TfrmGraph* stored = window->CreateFileWindow(storePath);
    stored->PrepareSingleSetWindow();
    stored->ShowRecording(recording);
    Activate(stored);
    const graph::RecordingListModel& list = *stored->RecordingList();
    ASSERT_EQ(list.rowCount(), 150);
    Choose(TfrmPrintOption::PrintText);
    PrintInto(pdfPath);
    window->btnPrintClick();

    const auto pdf = kr820::testing::ReadPdf(pdfPath);
    ASSERT_GE(pdf.pages.size(), 2u);
    QStringList listed;
    for (const QString& page : pdf.pages) listed += page.split(QLatin1Char('\n')).mid(3);
    listed.removeAll(QString());
    ASSERT_EQ(listed.size(), 150);
    EXPECT_EQ(listed.first(), list.Line(0));
    EXPECT_EQ(listed.last(), list.Line(149));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('|').toStdString();
}

TEST_F(PrintCommandTest, WithAnotherWindowActiveTheBackmostGraphWindowIsPrinted) {
    Activate(logger);
    Activate(realTime);  // front-most graph window, empty list
    auto* other = Workspace().addSubWindow(new QWidget);
    other->show();
    Workspace().setActiveSubWindow(other);
    ASSERT_EQ(Workspace().currentSubWindow(), other);
    ASSERT_EQ(Workspace().subWindowList(QMdiArea::StackingOrder).first(), Frame(logger));

    EXPECT_EQ(GraphWindowToPrint(Workspace()), logger);
    Choose(TfrmPrintOption::PrintText);
    PrintInto(pdfPath);
    window->btnPrintClick();
    const auto pdf = kr820::testing::ReadPdf(pdfPath);
    ASSERT_EQ(pdf.pages.size(), 1u);
    EXPECT_TRUE(pdf.pages[0].startsWith("DataLogger    Page 1 of 1"));
    EXPECT_TRUE(pdf.pages[0].contains(logger->DataList().Line(0)));
}

TEST_F(PrintCommandTest, CancelAndADeclinedPrintDialogPrintNothing) {
    Choose(TfrmPrintOption::Cancel);
    PrintInto(pdfPath);
    window->btnPrintClick();
    EXPECT_EQ(prompter.dialogsShown, 1);
    EXPECT_EQ(prompter.printDialogsShown, 0);

    Choose(TfrmPrintOption::PrintText);
    prompter.onPrintDialog = nullptr;  // the user cancels the print dialog
    window->btnPrintClick();
    EXPECT_EQ(prompter.printDialogsShown, 1);
    EXPECT_FALSE(QFile::exists(pdfPath));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

TEST_F(PrintCommandTest, WithoutAGraphWindowPrintAndExportDoNothing) {
    // Nothing unsaved: both windows close without asking.
    window->DataLogger().MarkDiscarded();
    window->State().RealTimeUnsaved = false;
    Workspace().closeAllSubWindows();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(Workspace().subWindowList().isEmpty());

    prompter.saveFileName = InHome("none.pdf");
    window->btnPrintClick();
    window->findChild<QAction*>("ExportGraph1")->trigger();
    EXPECT_EQ(prompter.dialogsShown, 0);
    EXPECT_FALSE(QFile::exists(InHome("none.pdf")));
}

TEST_F(PrintCommandTest, PrintGraphOffersTheReducedSettingsThenPrintsTheChart) {
    Activate(logger);
    Choose(TfrmPrintOption::PrintGraph);
    PrintInto(pdfPath);
    window->btnPrintClick();

    EXPECT_EQ(settingsPages, QStringList{"General"});  // no fonts, plot or subsets page
    const core::ChartSettings& s = logger->Chart().Settings();
    EXPECT_TRUE(s.AllowPage1 && s.AllowPage2 && s.AllowSubsetsPage && s.AllowFontPage);
    EXPECT_EQ(prompter.printDialogsShown, 1);
    const auto pdf = kr820::testing::ReadPdf(pdfPath);
    ASSERT_TRUE(pdf.bytes.startsWith("%PDF"));
    ASSERT_EQ(pdf.pages.size(), 1u);
    // The chart's own texts: its axis labels.
    EXPECT_TRUE(pdf.pages[0].contains("T1"));
    EXPECT_TRUE(pdf.pages[0].contains("T2"));
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('|').toStdString();
    // The page says which window, from where and when.
    const QStringList lines = pdf.pages[0].split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 2);
    EXPECT_EQ(lines[0], "DataLogger");
    EXPECT_TRUE(lines[1].startsWith("Source: the meter's logger memory    Printed "))
        << lines[1].toStdString();
}

TEST_F(PrintCommandTest, ThePrintDialogOffersTheWindowsNameForAFile) {
    Activate(logger);
    Choose(TfrmPrintOption::PrintGraph);
    QString offered;
    prompter.onPrintDialog = [&](QPrinter& printer) {
        offered = printer.docName();
        return false;
    };
    window->btnPrintClick();
    EXPECT_EQ(offered, "DataLogger");
    Choose(TfrmPrintOption::PrintText);
    offered.clear();
    window->btnPrintClick();
    EXPECT_EQ(offered, "DataLogger");
}

TEST_F(PrintCommandTest, APrintThatCannotStartIsReported) {
    Choose(TfrmPrintOption::PrintText);
    const QString unwritable = InHome("no-such-folder/list.pdf");
    PrintInto(unwritable);
    window->btnPrintClick();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0], kCannotPrintMessage.arg(unwritable));
}

TEST_F(PrintCommandTest, PrinterSetupShowsOnlyThePageSetUpDialog) {
    window->PrinterSetup1Click();
    EXPECT_EQ(prompter.pageSetupsShown, 1);
    EXPECT_EQ(prompter.dialogsShown, 0);
    EXPECT_EQ(prompter.printDialogsShown, 0);
}

class ExportGraphTest : public PrintCommandTest {
protected:
    void Export(const QString& name, const QString& filter = {}) {
        prompter.saveFileName = InHome(name);
        prompter.saveFilter = filter;
        window->findChild<QAction*>("ExportGraph1")->trigger();
    }
    QString Box(const char* name) const { return logger->findChild<QLineEdit*>(name)->text(); }
};

TEST_F(ExportGraphTest, PdfHasTheStatisticsAboveTheChart) {
    Activate(logger);
    Export("chart.pdf");
    ASSERT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('|').toStdString();
    const auto pdf = kr820::testing::ReadPdf(InHome("chart.pdf"));
    ASSERT_TRUE(pdf.bytes.startsWith("%PDF"));
    ASSERT_EQ(pdf.pages.size(), 1u);
    const QStringList lines = pdf.pages[0].split(QLatin1Char('\n'));
    ASSERT_GE(lines.size(), 5);
    EXPECT_EQ(lines[0], "DataLogger");
    // Where it comes from and when it was made.
    EXPECT_TRUE(lines[1].startsWith("Source: the meter's logger memory    Printed "))
        << lines[1].toStdString();
    EXPECT_TRUE(QDateTime::fromString(lines[1].right(16), "yyyy-MM-dd HH:mm").isValid());
    EXPECT_EQ(lines[2], QStringLiteral("Start Time %1    Sampling Rate %2 mm:ss    Data No. 12")
                            .arg(Box("txtStartTime"),
                                 logger->findChild<QComboBox*>("txtSamplingRate")->currentText()));
    EXPECT_EQ(lines[3], QStringLiteral("T1 MAX %1    MIN %2    AVG %3")
                            .arg(Box("txtT1Max"), Box("txtT1Min"), Box("txtT1Avg")));
    EXPECT_EQ(lines[4], QStringLiteral("T2 MAX %1    MIN %2    AVG %3")
                            .arg(Box("txtT2Max"), Box("txtT2Min"), Box("txtT2Avg")));
    EXPECT_TRUE(lines[3].contains("26.1@"));   // T1's largest value, 25.0 + 1.1
    EXPECT_TRUE(pdf.pages[0].contains("T2"));  // and the chart below
}

TEST_F(ExportGraphTest, TheFileDialogStartsWhereTheOtherFileDialogsStart) {
    Activate(logger);
    Export("chart.pdf");
    ASSERT_EQ(prompter.folders.size(), 1);
    // Open, Save and the rest start in the documents folder (or the last folder used, none
    // yet), never in the hidden program folder; the window's name is offered.
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(
        QFileInfo(prompter.folders[0]).absolutePath(),
        QFileInfo(QDir(documents).exists() ? documents : QDir::homePath()).absoluteFilePath());
    EXPECT_NE(QFileInfo(prompter.folders[0]).absolutePath(), core::ProgramFolder());
    EXPECT_EQ(QFileInfo(prompter.folders[0]).fileName(), "DataLogger");

    // Then where the last file went.
    const QString there = QFileInfo(prompter.saveFileName).absolutePath();
    Export("again.pdf");
    ASSERT_EQ(prompter.folders.size(), 2);
    EXPECT_EQ(QFileInfo(prompter.folders[1]).absolutePath(), there);
}

TEST_F(ExportGraphTest, PngIsTheChartAtItsSizeAndTheTypeDecidesTheSuffix) {
    Activate(logger);
    Export("chart", app::kExportPngFilter);
    const QImage image(InHome("chart.png"));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), logger->View().size());
    EXPECT_FALSE(QFile::exists(InHome("chart")));
}

TEST_F(ExportGraphTest, AFailedWriteNamesTheFileAndLeavesNothing) {
    Activate(logger);
    const QString path = InHome("missing/chart.pdf");
    Export("missing/chart.pdf");
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains(path)) << prompter.messages[0].toStdString();
    EXPECT_FALSE(QFile::exists(path));
}

}  // namespace
}  // namespace kr820::print
