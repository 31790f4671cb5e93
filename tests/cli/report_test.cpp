// SPDX-License-Identifier: MIT
// kr820-cli report as a child process: its figures, its hash against export's rows, its PDF read
// back, and its exit codes.
#include <gtest/gtest.h>

#include <QCryptographicHash>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "cli_child.h"
#include "store/store_writer.h"

namespace kr820::testing {
namespace {

const QString kFixtures = QStringLiteral(KR820_FIXTURES);
constexpr qint64 kStartMs = 1'796'000'000'000;  // 2026-11-29

// A store of ten readings a minute apart at 5.0 °C on T1, the fourth without a value, T2 at 9.0
// from the sixth on; an alarm raised at the sixth.
QString MakeStore(const QTemporaryDir& folder) {
    const QString path = folder.filePath(QStringLiteral("trip.kr8db"));
    store::StoreHeader header;
    header.StartMs = kStartMs;
    header.RateSeconds = 60;
    header.Device = QStringLiteral("/dev/ttyUSB0");
    QString error;
    auto writer = store::StoreWriter::Create(path, header, &error);
    EXPECT_TRUE(writer) << error.toStdString();
    for (int i = 0; i < 10; ++i) {
        store::StoredReading reading;
        reading.TimeMs = kStartMs + i * 60'000;
        reading.T1 = 5.0f;
        reading.T1Valid = i != 3;
        reading.T2 = i >= 5 ? 9.0f : 4.0f;
        writer->Append(reading);
    }
    writer->AddAlarmMark({kStartMs + 5 * 60'000, 1, 0, store::AlarmMarkChange::Raised, 9.0, 8.0});
    writer->Finish(kStartMs + 10 * 60'000);
    return path;
}

QJsonObject ReportJson(const QStringList& arguments) {
    CliChild child;
    EXPECT_TRUE(child.Run(QStringList{QStringLiteral("report")} + arguments +
                          QStringList{QStringLiteral("--format"), QStringLiteral("json")}));
    EXPECT_EQ(child.ExitCode(), 0) << child.Err().toStdString();
    return QJsonDocument::fromJson(child.Out()).object();
}

QByteArray ExportSha256(const QStringList& arguments) {
    CliChild child;
    EXPECT_TRUE(child.Run(QStringList{QStringLiteral("export")} + arguments));
    EXPECT_EQ(child.ExitCode(), 0);
    return QCryptographicHash::hash(child.Out(), QCryptographicHash::Sha256).toHex();
}

TEST(CliReport, StoreFiguresAndTheHashOfExportsRows) {
    QTemporaryDir folder;
    const QString path = MakeStore(folder);
    const QJsonObject root = ReportJson({path, QStringLiteral("--high"), QStringLiteral("8")});
    EXPECT_EQ(root[QStringLiteral("readings")].toInt(), 10);
    EXPECT_EQ(root[QStringLiteral("interval_s")].toDouble(), 60.0);
    const QJsonArray channels = root[QStringLiteral("channels")].toArray();
    ASSERT_EQ(channels.size(), 2);
    const QJsonObject t1 = channels[0].toObject();
    // The reading without a value is left out, not read as 0.
    EXPECT_EQ(t1[QStringLiteral("readings")].toInt(), 9);
    EXPECT_EQ(t1[QStringLiteral("invalid")].toInt(), 1);
    EXPECT_EQ(t1[QStringLiteral("gaps")].toInt(), 1);
    EXPECT_EQ(t1[QStringLiteral("min")].toDouble(), 5.0);
    EXPECT_EQ(t1[QStringLiteral("mkt")].toDouble(), 5.0);
    const QJsonObject high = channels[1].toObject()[QStringLiteral("high")].toObject();
    EXPECT_EQ(high[QStringLiteral("excursions")].toInt(), 1);
    EXPECT_EQ(high[QStringLiteral("time_past_s")].toDouble(), 300.0);
    EXPECT_EQ(root[QStringLiteral("alarm_marks")].toArray().size(), 1);
    EXPECT_EQ(root[QStringLiteral("sha256")].toString().toLatin1(), ExportSha256({path}));
}

TEST(CliReport, AStoresOwnAlarmLimitsWhereNoneAreGiven) {
    QTemporaryDir folder;
    const QJsonArray channels =
        ReportJson({MakeStore(folder)})[QStringLiteral("channels")].toArray();
    const QJsonObject t2High = channels[1].toObject()[QStringLiteral("high")].toObject();
    EXPECT_EQ(t2High[QStringLiteral("limit")].toDouble(), 8.0);
    EXPECT_EQ(t2High[QStringLiteral("excursions")].toInt(), 1);
    EXPECT_TRUE(channels[0].toObject()[QStringLiteral("high")].isNull());
}

TEST(CliReport, FileSetsHashLikeTheirExport) {
    const QString file = kFixtures + QStringLiteral("/three_sets.820");
    EXPECT_EQ(
        ReportJson({file, QStringLiteral("--set"), QStringLiteral("2")})[QStringLiteral("sha256")]
            .toString()
            .toLatin1(),
        ExportSha256({file, QStringLiteral("--set"), QStringLiteral("2")}));
    EXPECT_EQ(
        ReportJson({file, QStringLiteral("--all")})[QStringLiteral("sha256")].toString().toLatin1(),
        ExportSha256({file, QStringLiteral("--all")}));
}

TEST(CliReport, PdfOfOnePageHoldingTheFiguresAndTheHash) {
    const QString pdftotext = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
    const QString pdfinfo = QStandardPaths::findExecutable(QStringLiteral("pdfinfo"));
    if (pdftotext.isEmpty() || pdfinfo.isEmpty()) GTEST_SKIP() << "poppler-utils not installed";
    QTemporaryDir folder;
    const QString path = MakeStore(folder);
    const QString pdf = folder.filePath(QStringLiteral("trip.pdf"));
    CliChild child;
    ASSERT_TRUE(child.Run({QStringLiteral("report"), path, QStringLiteral("--heading"),
                           QStringLiteral("Lab 3, batch 42"), QStringLiteral("-o"), pdf}));
    ASSERT_EQ(child.ExitCode(), 0) << child.Err().toStdString();

    QProcess text;
    text.start(pdftotext, {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString page = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(page.contains(QStringLiteral("Lab 3, batch 42")));
    EXPECT_TRUE(page.contains(QStringLiteral("Mean kinetic temperature")));
    EXPECT_TRUE(page.contains(QStringLiteral("5.00 °C")));
    EXPECT_TRUE(page.contains(QString::fromLatin1(ExportSha256({path})))) << page.toStdString();

    QProcess info;
    info.start(pdfinfo, {pdf});
    ASSERT_TRUE(info.waitForFinished(30000));
    const QString details = QString::fromUtf8(info.readAllStandardOutput());
    EXPECT_TRUE(details.contains(QRegularExpression(QStringLiteral("\\nPages:\\s+1\\n"))))
        << details.toStdString();
}

TEST(CliReport, ExitCodes) {
    QTemporaryDir folder;
    const QString path = MakeStore(folder);
    const auto exitOf = [](const QStringList& arguments) {
        CliChild child;
        EXPECT_TRUE(child.Run(QStringList{QStringLiteral("report")} + arguments));
        return child.ExitCode();
    };
    EXPECT_EQ(exitOf({folder.filePath(QStringLiteral("missing.820"))}), 1);
    EXPECT_EQ(exitOf({path, QStringLiteral("--lethality"), QStringLiteral("hot")}), 2);
    EXPECT_EQ(exitOf({path, QStringLiteral("--format"), QStringLiteral("doc")}), 2);
    EXPECT_EQ(exitOf({path, QStringLiteral("--from"), QStringLiteral("yesterday")}), 2);
    EXPECT_EQ(exitOf({path, QStringLiteral("--set"), QStringLiteral("2")}), 1);
    const QString taken = folder.filePath(QStringLiteral("taken.json"));
    QFile(taken).open(QIODevice::WriteOnly);
    EXPECT_EQ(exitOf({path, QStringLiteral("-o"), taken}), 1);
    EXPECT_EQ(exitOf({path, QStringLiteral("-o"), taken, QStringLiteral("--force")}), 0);
    QFile notStore(folder.filePath(QStringLiteral("bad.kr8db")));
    ASSERT_TRUE(notStore.open(QIODevice::WriteOnly));
    notStore.write(QByteArray("SQLite format 3") + QByteArray(4096, '\x7f'));
    notStore.close();
    EXPECT_EQ(exitOf({notStore.fileName()}), 8);
}

}  // namespace
}  // namespace kr820::testing
