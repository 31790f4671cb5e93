// SPDX-License-Identifier: MIT
// Rows across the two clock changes of 2024, run once in a zone an hour from UTC and once in one
// with a half-hour offset: a set's samples are equally spaced in real time, and each row names its
// instant by the local time in force then and that time's offset.
#include <gtest/gtest.h>

#include <QBuffer>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTimeZone>

#include "cli/cli_arguments.h"
#include "cli/file_commands.h"
#include "cli/live_rows.h"
#include "core/files/regional_formats.h"
#include "logger_memory_builder.h"

namespace kr820 {
namespace {

constexpr qint64 kStep = 600;  // rate code 9
constexpr int kPairs = 24;     // four hours

// A change of offset: the first instant of the new one.
struct ClockChange {
    qint64 at = 0;
    int before = 0;
    int after = 0;
};

int SystemOffset(qint64 instant) {
    return QDateTime::fromSecsSinceEpoch(instant, Qt::LocalTime).offsetFromUtc();
}

// Found by asking the system every quarter of an hour, not through the code under test.
std::vector<ClockChange> ChangesOf2024() {
    std::vector<ClockChange> changes;
    const qint64 first = QDateTime(QDate(2024, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    const qint64 last = QDateTime(QDate(2025, 1, 1), QTime(0, 0), Qt::UTC).toSecsSinceEpoch();
    int offset = SystemOffset(first);
    for (qint64 t = first; t < last; t += 900) {
        const int now = SystemOffset(t);
        if (now != offset) changes.push_back({t, offset, now});
        offset = now;
    }
    return changes;
}

QString OffsetText(int seconds) {
    const int minutes = std::abs(seconds) / 60;
    return QStringLiteral("%1%2:%3")
        .arg(seconds < 0 ? '-' : '+')
        .arg(minutes / 60, 2, 10, QLatin1Char('0'))
        .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

// What a row must say for an instant, from the system alone.
QString ExpectedIso(qint64 instant) {
    const QDateTime local = QDateTime::fromSecsSinceEpoch(instant, Qt::LocalTime);
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           OffsetText(local.offsetFromUtc());
}

class ClockChangeTest : public ::testing::Test {
protected:
    void SetUp() override {
        changes = ChangesOf2024();
        ASSERT_EQ(changes.size(), 2u) << "run with TZ set to a zone with summer time";
    }

    // A logger memory of one set starting 90 minutes before `change`, as the meter's clock
    // showed it then; its start instant in `start`.
    QString SetAcross(const ClockChange& change, qint64& start) {
        start = change.at - 5400;
        const QDateTime local = QDateTime::fromSecsSinceEpoch(start, Qt::LocalTime);
        emulator::DataSet set;
        set.start = {local.date().year(), local.date().month(),  local.date().day(),
                     local.time().hour(), local.time().minute(), local.time().second()};
        set.rateCode = 9;
        for (int p = 0; p < kPairs; ++p)
            set.pairs.push_back({static_cast<std::int16_t>(200 + p), 210});
        const QString path = folder.filePath(QStringLiteral("set%1.820").arg(change.at));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QByteArray::fromStdString(emulator::BuildMemoryImage({set})));
        return path;
    }

    // kr820-cli's export of `path` in `format`, its lines without the header.
    QList<QByteArray> Export(const QString& path, const QString& format) {
        const auto parsed = cli::ParseCliArguments({"export", path, "--format", format});
        EXPECT_TRUE(std::holds_alternative<cli::CliArguments>(parsed));
        QBuffer out;
        QBuffer err;
        out.open(QIODevice::ReadWrite);
        err.open(QIODevice::ReadWrite);
        cli::CliIo io{out, err};
        const auto formats = core::RegionalFormats::FromLocale(QLocale::c());
        EXPECT_EQ(cli::RunExport(std::get<cli::CliArguments>(parsed), formats, io),
                  cli::ExitCode::Success)
            << err.data().toStdString();
        QList<QByteArray> lines = out.data().split('\n');
        if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
        if (format == "csv" || format == "tsv") lines.removeFirst();
        return lines;
    }

    std::vector<ClockChange> changes;
    QTemporaryDir folder;
};

TEST_F(ClockChangeTest, ExportedRowsStepInRealTimeWithTheOffsetInForce) {
    for (const ClockChange& change : changes) {
        SCOPED_TRACE(ExpectedIso(change.at).toStdString());
        qint64 start = 0;
        const QString path = SetAcross(change, start);
        const QList<QByteArray> csv = Export(path, "csv");
        const QList<QByteArray> tsv = Export(path, "tsv");
        const QList<QByteArray> json = Export(path, "jsonl");
        ASSERT_EQ(csv.size(), kPairs);
        ASSERT_EQ(tsv.size(), kPairs);
        ASSERT_EQ(json.size(), kPairs);
        for (int p = 0; p < kPairs; ++p) {
            SCOPED_TRACE(p);
            const qint64 instant = start + p * kStep;
            const QString iso = ExpectedIso(instant);
            const QByteArray local = iso.left(19).toLatin1();
            const QByteArray offset = iso.mid(19).toLatin1();
            EXPECT_TRUE(csv[p].startsWith(local + ',' + offset + ',')) << csv[p].toStdString();
            EXPECT_TRUE(tsv[p].startsWith(local + '\t' + offset + '\t')) << tsv[p].toStdString();
            const QJsonObject object = QJsonDocument::fromJson(json[p]).object();
            EXPECT_EQ(object.value("time").toString(), iso);
        }
    }
}

TEST_F(ClockChangeTest, TheNamedMomentsOfEachZone) {
    // The times the rows must show, as people there read their clocks.
    struct Moment {
        const char* zone;
        QDateTime utc;
        const char* shown;
    };
    const Moment moments[] = {
        // Autumn: 02:30 happens twice, an hour apart.
        {"Europe/Berlin", QDateTime(QDate(2024, 10, 27), QTime(0, 30), Qt::UTC),
         "2024-10-27T02:30:00+02:00"},
        {"Europe/Berlin", QDateTime(QDate(2024, 10, 27), QTime(1, 30), Qt::UTC),
         "2024-10-27T02:30:00+01:00"},
        // Spring: from 01:50 straight to 03:00.
        {"Europe/Berlin", QDateTime(QDate(2024, 3, 31), QTime(1, 0), Qt::UTC),
         "2024-03-31T03:00:00+02:00"},
        {"Australia/Adelaide", QDateTime(QDate(2024, 4, 6), QTime(16, 0), Qt::UTC),
         "2024-04-07T02:30:00+10:30"},
        {"Australia/Adelaide", QDateTime(QDate(2024, 4, 6), QTime(17, 0), Qt::UTC),
         "2024-04-07T02:30:00+09:30"},
        {"Australia/Adelaide", QDateTime(QDate(2024, 10, 5), QTime(16, 30), Qt::UTC),
         "2024-10-06T03:00:00+10:30"},
    };
    const QByteArray zone = QTimeZone::systemTimeZoneId();
    int checked = 0;
    for (const Moment& moment : moments) {
        if (zone != moment.zone) continue;
        ++checked;
        const qint64 instant = moment.utc.toSecsSinceEpoch();
        // A live reading taken then.
        core::LiveReading reading;
        const core::ReadingRow row = cli::RowOfReading(reading, instant);
        const core::RowLayout json{core::RowFormat::JsonLines, false, {}};
        EXPECT_TRUE(core::RowLine(row, json).startsWith(QByteArray("{\"time\":\"") + moment.shown))
            << core::RowLine(row, json).toStdString();
        const core::RowLayout influx{core::RowFormat::Influx, false, {}};
        EXPECT_TRUE(core::RowLine(row, influx)
                        .endsWith(' ' + QByteArray::number(instant * 1'000'000'000) + '\n'))
            << core::RowLine(row, influx).toStdString();
    }
    EXPECT_EQ(checked, 3) << zone.toStdString();
}

TEST_F(ClockChangeTest, LiveRowsNameTheirInstantThroughBothChanges) {
    const core::RowLayout csv{core::RowFormat::Csv, false, {}};
    const core::RowLayout influx{core::RowFormat::Influx, false, {}};
    for (const ClockChange& change : changes) {
        for (qint64 instant = change.at - 7200; instant <= change.at + 7200; instant += 300) {
            const core::ReadingRow row = cli::RowOfReading({}, instant);
            const QString iso = ExpectedIso(instant);
            const QByteArray line = core::RowLine(row, csv);
            EXPECT_TRUE(line.startsWith((iso.left(19) + ',' + iso.mid(19) + ',').toLatin1()))
                << line.toStdString() << " for " << iso.toStdString();
            // InfluxDB keeps one point per series and time: a repeated hour would overwrite.
            EXPECT_TRUE(core::RowLine(row, influx)
                            .endsWith(' ' + QByteArray::number(instant * 1'000'000'000) + '\n'))
                << iso.toStdString();
        }
    }
}

}  // namespace
}  // namespace kr820
