// SPDX-License-Identifier: MIT
// File > Report...: the dialog preset from the alarms and the last choices, the PDF written with
// the window's figures and the hash of the rows its export writes.
#include "app/report_command.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QCryptographicHash>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLineEdit>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "app/spreadsheet_export.h"
#include "core/alarms/alarm_settings.h"
#include "core/documents/data_logger_document.h"
#include "core/state/app_state.h"
#include "fake_prompter.h"
#include "graph/frm_graph.h"
#include "logger_memory_builder.h"
#include "print/report_dialog.h"

namespace kr820::app {
namespace {

struct DataLoggerWindow {
    DataLoggerWindow() {
        qputenv("KR820_HOME", home.path().toLocal8Bit());
        window.SetUpDataLogger();
    }
    ~DataLoggerWindow() { qunsetenv("KR820_HOME"); }
    QTemporaryDir home;
    core::DataLoggerDocument document{home.path()};
    testing::FakePrompter prompter;
    core::AppState state;
    graph::SharedGraphTools tools;
    graph::TfrmGraph window{
        graph::GraphRole::DataLogger, graph::TfrmGraph::kDataLoggerCaption,
        graph::GraphContext{prompter, state, tools, home.path(), &document, QLocale(), {}}};
};

// Twelve readings 5 s apart: T1 125.0 to 126.1, T2 0.0 down, one T2 out of range.
QByteArray TwelvePointImage() {
    emulator::DataSet set;
    set.start = {2026, 12, 7, 9, 0, 0};
    set.rateCode = 2;
    for (int p = 0; p < 12; ++p)
        set.pairs.push_back({static_cast<std::int16_t>(1250 + p), static_cast<std::int16_t>(-p)});
    set.pairs[5].t2TenthsC = emulator::kOverRangeTenthsC;
    return QByteArray::fromStdString(emulator::BuildMemoryImage({set}));
}

QString PdfText(const QString& path) {
    QProcess text;
    text.start(QStandardPaths::findExecutable(QStringLiteral("pdftotext")),
               {QStringLiteral("-layout"), path, QStringLiteral("-")});
    text.waitForFinished(30000);
    return QString::fromUtf8(text.readAllStandardOutput());
}

TEST(ReportCommand, SavesThePdfOfTheWindowWithTheAlarmLimitsAndRemembersTheChoices) {
    DataLoggerWindow logger;
    ASSERT_EQ(logger.window.ShowMemoryImage(TwelvePointImage()).Code, core::ParseCode::Success);
    core::AlarmSettings alarms;
    alarms.Channels[0].High = {true, 125.5};
    QTemporaryDir folder;
    testing::FakePrompter prompter;
    prompter.saveFileName = folder.filePath(QStringLiteral("batch"));
    std::optional<print::ReportChoice> shown;
    prompter.onDialog = [&](QDialog& dialog) {
        shown = static_cast<print::ReportDialog&>(dialog).Choice();
        dialog.findChild<QLineEdit*>(QStringLiteral("edHeading"))
            ->setText(QStringLiteral("Lab 3, batch 42"));
        dialog.findChild<QPushButton*>(QStringLiteral("btnSavePdf"))->click();
        return dialog.result();
    };
    QPrinter printer;
    ASSERT_TRUE(ReportOnWindow(logger.window, prompter, logger.window, alarms, printer));
    ASSERT_TRUE(shown);
    EXPECT_EQ(shown->Limits[0].High, 125.5);
    EXPECT_FALSE(shown->Limits[0].Low.has_value());
    EXPECT_FALSE(shown->Limits[1].High.has_value());

    QFile pdf(folder.filePath(QStringLiteral("batch.pdf")));
    ASSERT_TRUE(pdf.open(QIODevice::ReadOnly));
    EXPECT_TRUE(pdf.read(5) == "%PDF-");
    if (!QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty()) {
        const QString text = PdfText(pdf.fileName());
        EXPECT_TRUE(text.contains(QStringLiteral("Lab 3, batch 42")));
        EXPECT_TRUE(text.contains(QStringLiteral("125.5 °C")));
        const QByteArray rows = core::RowsText(WindowRows(logger.window), core::RowLayout{});
        EXPECT_TRUE(text.contains(QString::fromLatin1(
            QCryptographicHash::hash(rows, QCryptographicHash::Sha256).toHex())))
            << text.toStdString();
    }

    // The next time the heading is offered again; Cancel writes nothing.
    prompter.onDialog = [&](QDialog& dialog) {
        shown = static_cast<print::ReportDialog&>(dialog).Choice();
        return int(QDialog::Rejected);
    };
    EXPECT_FALSE(ReportOnWindow(logger.window, prompter, logger.window, alarms, printer));
    EXPECT_EQ(shown->Heading, QStringLiteral("Lab 3, batch 42"));
}

}  // namespace
}  // namespace kr820::app
