// SPDX-License-Identifier: MIT
// "live" against the emulated meter: the rows carry the meter's values, in its display unit, and
// leave out what the meter flags as no value.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QRegularExpression>
#include <QTimer>

#include "cli/reading_pacer.h"
#include "cli_rig.h"

namespace kr820::testing {
namespace {

using cli::ExitCode;

emulator::MeterState Reading(std::int16_t t1Tenths, std::int16_t t2Tenths) {
    emulator::MeterState state;
    state.t1.tenthsC = t1Tenths;
    state.t2.tenthsC = t2Tenths;
    return state;
}

TEST(CliLive, CountRowsCarryTheMetersValuesWithIsoTimes) {
    CliRig rig;
    rig.meter->SetState(Reading(217, -34));
    const qint64 before = QDateTime::currentSecsSinceEpoch();
    ASSERT_EQ(rig.Run({"live", "--count", "3"}), ExitCode::Success) << rig.Err().toStdString();
    const qint64 after = QDateTime::currentSecsSinceEpoch();

    const QStringList lines = rig.OutLines();
    ASSERT_EQ(lines.size(), 4) << rig.Out().toStdString();
    EXPECT_EQ(lines[0], "time,utc_offset,t1,t2,unit\r");
    const QRegularExpression row(
        R"(^(\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d),([+-]\d\d:\d\d),21\.7,-3\.4,C\r$)");
    for (int i = 1; i <= 3; ++i) {
        const auto match = row.match(lines[i]);
        ASSERT_TRUE(match.hasMatch()) << lines[i].toStdString();
        const QDateTime time =
            QDateTime::fromString(match.captured(1) + match.captured(2), Qt::ISODate);
        ASSERT_TRUE(time.isValid());
        EXPECT_GE(time.toSecsSinceEpoch(), before);
        EXPECT_LE(time.toSecsSinceEpoch(), after);
    }
}

TEST(CliLive, FahrenheitInvalidAndOutOfRangeChannels) {
    CliRig rig;
    emulator::MeterState state = Reading(250, -100);
    state.statusB |= emulator::kStatusBFahrenheit;
    rig.meter->SetState(state);
    ASSERT_EQ(rig.Run({"live", "--count", "1", "--format", "jsonl"}), ExitCode::Success);
    ASSERT_EQ(rig.OutLines().size(), 1);
    EXPECT_TRUE(rig.OutLines()[0].contains(R"("t1":77.0,"t2":14.0,"unit":"F")"))
        << rig.Out().toStdString();

    // T2 flagged invalid: null in JSON lines, no field in line protocol.
    CliRig invalid;
    state = Reading(250, 32767);
    state.t2.invalid = 1;
    invalid.meter->SetState(state);
    ASSERT_EQ(invalid.Run({"live", "--count", "1", "--format", "jsonl"}), ExitCode::Success);
    EXPECT_TRUE(invalid.Out().contains(R"("t1":25.0,"t2":null)")) << invalid.Out().toStdString();

    CliRig influx;
    influx.meter->SetState(state);
    ASSERT_EQ(influx.Run({"live", "--count", "1", "--format", "influx"}), ExitCode::Success);
    const QString device = PathOf(*influx.meter);
    const QRegularExpression line(QStringLiteral(R"(^kr820,device=%1,unit=C t1=25\.0 \d{19}\n$)")
                                      .arg(QRegularExpression::escape(device)));
    EXPECT_TRUE(line.match(influx.Out()).hasMatch()) << influx.Out().toStdString();
}

TEST(CliLive, StopRequestEndsWithTheRowsWritten) {
    CliRig rig;
    int rows = 0;
    // Stop once two rows are out, as Ctrl+C would: the run ends cleanly, nothing half written.
    QTimer watch;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        rows = static_cast<int>(rig.out.data().count('\n')) - 1;
        if (rows >= 2) rig.stop.Request();
    });
    watch.start(5);
    ASSERT_EQ(rig.Run({"live"}), ExitCode::Success);
    EXPECT_GE(rig.OutLines().size(), 3);
    EXPECT_TRUE(rig.Out().endsWith("\r\n"));
}

TEST(CliLive, AMeterThatGoesAwayIsReportedAndWaitedFor) {
    CliRig rig;
    QTimer watch;
    bool unplugged = false;
    bool plugged = false;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const int rows = static_cast<int>(rig.out.data().count('\n')) - 1;
        if (rows >= 1 && !unplugged) {
            rig.meter->Unplug();
            unplugged = true;
        }
        if (unplugged && !plugged && rig.Err().contains("waiting")) {
            std::string error;
            plugged = rig.meter->Plug(&error);
        }
    });
    watch.start(5);
    // The device path changes with a new pseudo-terminal; a link keeps the name, as a udev rule
    // would for a real meter.
    const QString link = QDir::temp().filePath(QStringLiteral("kr820-cli-live-%1").arg(::getpid()));
    std::string error;
    ASSERT_TRUE(rig.meter->MakeSymlink(link.toStdString(), &error)) << error;
    ASSERT_EQ(rig.Run({"live", "--count", "2", "--device", link}, false), ExitCode::Success);
    EXPECT_TRUE(plugged);
    EXPECT_TRUE(rig.Err().contains("no answer from the meter on " + link))
        << rig.Err().toStdString();
    EXPECT_TRUE(rig.Err().contains("the meter answers again")) << rig.Err().toStdString();
    EXPECT_EQ(rig.OutLines().size(), 3);
}

TEST(CliLive, EveryKeepsItsPace) {
    cli::ReadingPacer pacer{std::chrono::seconds(3)};
    using namespace std::chrono_literals;
    const link::Clock::TimePoint start{};
    // Frames a second apart, jittering: one in three is taken, and a late frame shifts nothing.
    const std::vector<std::chrono::milliseconds> arrivals = {0ms,    1020ms, 1990ms, 2970ms,
                                                             4010ms, 5000ms, 6100ms, 7000ms};
    std::vector<bool> taken;
    for (const auto at : arrivals) taken.push_back(pacer.Take(start + at));
    EXPECT_EQ(taken, (std::vector<bool>{true, false, false, true, false, false, true, false}));
    // After a gap (the meter away) the next frame is taken and the pace starts from it.
    EXPECT_TRUE(pacer.Take(start + 20s));
    EXPECT_FALSE(pacer.Take(start + 21s));
    EXPECT_TRUE(pacer.Take(start + 23s));
}

}  // namespace
}  // namespace kr820::testing
