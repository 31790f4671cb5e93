// SPDX-License-Identifier: MIT
// kr820-cli live --store against the emulated meter: every row printed is in the store, read
// back by the store's own reader, with a mark at each alarm raise and clear; a second run goes on
// with the same store; a file that is no store is refused before any row.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

#include "cli_rig.h"
#include "core/alarms/alarm_id.h"
#include "store/store_reader.h"

namespace kr820::testing {
namespace {

using cli::ExitCode;

// The rows of CSV with epoch times: time,t1,t2,unit,alarm.
std::vector<QStringList> Rows(const CliRig& rig) {
    std::vector<QStringList> rows;
    const QStringList lines = rig.OutLines();
    for (qsizetype i = 1; i < lines.size(); ++i) rows.push_back(lines[i].trimmed().split(u','));
    return rows;
}

std::vector<store::StoredReading> Readings(store::StoreReader& reader) {
    std::vector<store::StoredReading> readings;
    reader.ForEach(0, reader.Count(), [&](qint64, const store::StoredReading& reading) {
        readings.push_back(reading);
        return true;
    });
    return readings;
}

TEST(CliLiveStore, EveryRowPrintedIsInTheStoreWithTheAlarmMarks) {
    QTemporaryDir dir;
    const QString path = dir.filePath("night.kr820");
    CliRig rig;
    rig.meter->SetState(WithT1(250));
    // T1 at 35.0 from the fourth poll to the seventh: one raise, one clear.
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        const int polls = Polls(*rig.meter);
        rig.meter->SetState(WithT1(polls >= 4 && polls < 8 ? 350 : 250));
    });
    script.start(2);
    ASSERT_EQ(rig.Run({"live", "--count", "12", "--time-format", "epoch", "--alarm", "t1>30",
                       "--store", path}),
              ExitCode::Success)
        << rig.Err().toStdString();
    script.stop();
    const std::vector<QStringList> rows = Rows(rig);
    ASSERT_EQ(rows.size(), 12u);

    QString error;
    std::unique_ptr<store::StoreReader> reader = store::StoreReader::Open(path, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_TRUE(reader->Header().StoppedMs.has_value());
    EXPECT_EQ(reader->Header().PointsAsked, 12);
    const std::vector<store::StoredReading> readings = Readings(*reader);
    ASSERT_EQ(readings.size(), rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(rows[i].join(',').toStdString());
        EXPECT_EQ(readings[i].TimeMs / 1000, rows[i][0].toLongLong());
        EXPECT_EQ(QString::number(readings[i].T1, 'f', 1), rows[i][1]);
        EXPECT_EQ(QString::number(readings[i].T2, 'f', 1), rows[i][2]);
        EXPECT_FALSE(readings[i].Fahrenheit);
        EXPECT_EQ(readings[i].T1Alarm, rows[i][4] == "t1-high");
    }
    EXPECT_TRUE(std::any_of(readings.begin(), readings.end(),
                            [](const store::StoredReading& r) { return r.T1Alarm; }));

    const std::vector<store::AlarmMark> marks =
        reader->AlarmMarks(readings.front().TimeMs - 1000, readings.back().TimeMs + 1000);
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].Change, store::AlarmMarkChange::Raised);
    EXPECT_EQ(marks[1].Change, store::AlarmMarkChange::Cleared);
    for (const store::AlarmMark& mark : marks) {
        EXPECT_EQ(mark.Channel, 0);
        EXPECT_EQ(mark.Kind, static_cast<int>(core::AlarmKind::High));
        EXPECT_EQ(mark.Limit, 30.0);
    }
    EXPECT_EQ(marks[0].Value, 35.0);
    EXPECT_EQ(marks[1].Value, 25.0);
}

TEST(CliLiveStore, ASecondRunGoesOnWithTheStoreAndMarksTheTimeBetween) {
    QTemporaryDir dir;
    const QString path = dir.filePath("week.kr820");
    for (int run = 0; run < 2; ++run) {
        CliRig rig;
        ASSERT_EQ(rig.Run({"live", "--count", "3", "--store", path}), ExitCode::Success)
            << rig.Err().toStdString();
    }
    QString error;
    std::unique_ptr<store::StoreReader> reader = store::StoreReader::Open(path, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->Count(), 6);
    const std::vector<store::Gap> gaps = reader->Gaps();
    ASSERT_EQ(gaps.size(), 1u);
    EXPECT_EQ(gaps[0].Cause, store::GapCause::RecorderStopped);
    const std::vector<store::StoredReading> readings = Readings(*reader);
    EXPECT_EQ(gaps[0].FromMs, readings[2].TimeMs);
    EXPECT_EQ(gaps[0].ToMs, readings[3].TimeMs);
}

TEST(CliLiveStore, ExportWritesTheStoresRowsAsLivePrintedThem) {
    QTemporaryDir dir;
    const QString path = dir.filePath("oven.kr820");
    CliRig live;
    ASSERT_EQ(live.Run({"live", "--count", "4", "--time-format", "epoch", "--store", path}),
              ExitCode::Success)
        << live.Err().toStdString();

    CliRig exported;
    ASSERT_EQ(exported.Run({"export", path, "--time-format", "epoch"}, false), ExitCode::Success)
        << exported.Err().toStdString();
    EXPECT_EQ(exported.Out(), live.Out());

    const QString csv = dir.filePath("oven.csv");
    CliRig toFile;
    ASSERT_EQ(toFile.Run({"export", path, "--all", "-o", csv}, false), ExitCode::Success)
        << toFile.Err().toStdString();
    QFile written(csv);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(written.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5);
    EXPECT_TRUE(lines[0].startsWith("set,time,utc_offset,t1,t2,unit")) << lines[0].toStdString();
    EXPECT_TRUE(lines[1].startsWith("1,")) << lines[1].toStdString();

    CliRig secondSet;
    EXPECT_EQ(secondSet.Run({"export", path, "--set", "2"}, false), ExitCode::Failed);
    EXPECT_TRUE(secondSet.Out().isEmpty());
}

TEST(CliLiveStore, AFileThatIsNoStoreIsRefusedBeforeAnyRow) {
    QTemporaryDir dir;
    const QString path = dir.filePath("notes.txt");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a recording\n");
    file.close();
    CliRig rig;
    EXPECT_EQ(rig.Run({"live", "--count", "2", "--store", path}), ExitCode::Failed);
    EXPECT_TRUE(rig.Out().isEmpty());
    EXPECT_TRUE(rig.Err().contains("cannot write the store '" + path + "'"))
        << rig.Err().toStdString();
    QFile kept(path);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "not a recording\n");
}

}  // namespace
}  // namespace kr820::testing
