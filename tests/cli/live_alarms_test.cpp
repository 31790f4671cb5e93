// SPDX-License-Identifier: MIT
// Alarms over live readings against the emulated meter: the user's command runs once per raise
// and per clear and never holds up the rows; one that hangs is killed and told; watch ends on a
// raise when asked to.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include "cli/alarm_options.h"
#include "cli/watch_command.h"
#include "cli_rig.h"

namespace kr820::testing {
namespace {

using cli::ExitCode;

int RowsOut(const CliRig& rig) { return static_cast<int>(rig.out.data().count('\n')) - 1; }

TEST(CliLiveAlarms, OnAlarmRunsOncePerRaiseAndPerClearOverTwentyReadings) {
    CliRig rig;
    QTemporaryDir dir;
    const QString log = dir.filePath("events");
    rig.meter->SetState(WithT1(250));
    // Four readings each at 25.0, 35.0, 25.0, 35.0, 25.0: two raises, two clears.
    QTimer script;
    int phase = 0;
    QObject::connect(&script, &QTimer::timeout, [&] {
        const int next = RowsOut(rig) / 4;
        if (next == phase || next > 4) return;
        phase = next;
        rig.meter->SetState(WithT1(phase % 2 == 1 ? 350 : 250));
    });
    script.start(2);
    const QString command =
        QStringLiteral(R"(echo "$KR820_ALARM $KR820_KIND $KR820_CHANNEL $KR820_VALUE $KR820_LIMIT )"
                       R"($KR820_UNIT $KR820_TIME" >> '%1')")
            .arg(log);
    ASSERT_EQ(rig.Run({"live", "--count", "20", "--alarm", "t1>30", "--on-alarm", command}),
              ExitCode::Success)
        << rig.Err().toStdString();

    const QStringList rows = rig.OutLines();
    ASSERT_EQ(rows.size(), 21);
    EXPECT_EQ(rows[0], "time,utc_offset,t1,t2,unit,alarm\r");
    EXPECT_EQ(rows.filter(",35.0,20.0,C,t1-high\r").size(), rows.filter(",35.0,").size());
    EXPECT_EQ(rows.filter(",25.0,20.0,C,\r").size(), rows.filter(",25.0,").size());

    QFile file(log);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList events = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(events.size(), 4) << events.join('\n').toStdString();
    for (int i = 0; i < 4; ++i) {
        const QStringList words = events[i].split(' ');
        ASSERT_EQ(words.size(), 7) << events[i].toStdString();
        EXPECT_EQ(words[0], i % 2 == 0 ? "raised" : "cleared");
        EXPECT_EQ(words.mid(1, 2), (QStringList{"high", "T1"}));
        EXPECT_EQ(words[3], i % 2 == 0 ? "35.0" : "25.0");
        EXPECT_EQ(words.mid(4, 2), (QStringList{"30.0", "C"}));
        EXPECT_TRUE(QDateTime::fromString(words[6], Qt::ISODate).isValid());
    }
}

TEST(CliLiveAlarms, AHangingCommandIsKilledAndToldWhileRowsGoOn) {
    CliRig rig;
    rig.meter->SetState(WithT1(350));
    // Readings for longer than the command is given: a tenth of a second each.
    ASSERT_EQ(rig.Run({"live", "--count", "15", "--format", "jsonl", "--alarm", "t1>30",
                       "--on-alarm", "sleep 60", "--on-alarm-timeout", "1"}),
              ExitCode::Success);
    ASSERT_EQ(rig.OutLines().size(), 15);
    EXPECT_TRUE(rig.OutLines()[0].endsWith(R"("unit":"C","alarm":"t1-high"})"))
        << rig.Out().toStdString();
    EXPECT_TRUE(rig.Err().contains("alarm command killed after 1 s: sleep 60"))
        << rig.Err().toStdString();

    CliRig failing;
    failing.meter->SetState(WithT1(350));
    ASSERT_EQ(failing.Run({"live", "--count", "2", "--alarm", "t1>30", "--on-alarm", "exit 3"}),
              ExitCode::Success);
    EXPECT_TRUE(failing.Err().contains("alarm command exited with 3: exit 3"))
        << failing.Err().toStdString();
}

TEST(CliLiveAlarms, AlarmOptionsThatMakeNoSenseAreRefused) {
    for (const QStringList& options :
         {QStringList{"--alarm", "t3>5"}, QStringList{"--alarm", "t1>85.25"},
          QStringList{"--hold", "5"}, QStringList{"--alarm", "probe", "--hysteresis", "-1"},
          QStringList{"--alarm", "lost", "--on-alarm", " "}, QStringList{"--on-alarm", "true"}}) {
        CliRig rig;
        EXPECT_EQ(rig.Run(QStringList{"live"} + options), ExitCode::Usage)
            << options.join(' ').toStdString();
        EXPECT_TRUE(rig.Out().isEmpty());
    }
}

TEST(CliLiveAlarms, LimitsThatCannotWorkAreRefusedNamingTheRule) {
    const auto refusal = [](const QStringList& rules) {
        cli::AlarmOptionTexts texts;
        texts.rules = rules;
        const auto parsed = cli::ParseAlarmOptions(texts);
        const auto* message = std::get_if<QString>(&parsed);
        return message ? *message : QString();
    };
    // A second limit of one kind: which one was meant is anybody's guess.
    EXPECT_EQ(refusal({"t1>30", "t1 > 40"}),
              "alarm \"t1 > 40\": T1 has a high limit already (\"t1>30\"); give one");
    EXPECT_TRUE(refusal({"t1>30", "t2>40", "t1<20", "probe", "probe", "lost"}).isEmpty());
    // A low limit above the high one would raise both between them.
    EXPECT_TRUE(refusal({"t1>30", "t1<40"})
                    .startsWith("alarm \"t1<40\": the T1 low limit 40.0 is above its high "
                                "limit 30.0"));
    // Beyond what a reading can be in either unit.
    EXPECT_TRUE(
        refusal({"t2<-5000"})
            .startsWith(
                "alarm \"t2<-5000\": the T2 low limit -5000.0 lies outside what a reading can be"));
    EXPECT_TRUE(refusal({"t1>2498"}).isEmpty());

    // Within Fahrenheit's range, out of the Celsius meter's: refused at its first reading.
    CliRig rig;
    rig.meter->SetState(WithT1(250));
    EXPECT_EQ(rig.Run({"live", "--count", "3", "--alarm", "t1<-300"}), ExitCode::Usage);
    EXPECT_TRUE(
        rig.Err().contains("--alarm: the T1 low limit -300.0 \u00B0C lies outside what a "
                           "reading can be (-200.0 \u00B0C to 1370.0 \u00B0C)"))
        << rig.Err().toStdString();
    EXPECT_EQ(RowsOut(rig), 0);
}

TEST(CliWatch, ExitOnAlarmEndsWithItsCodeAndPrintsOnlyTheEvent) {
    CliRig rig;
    rig.meter->SetState(WithT1(217));
    QTimer script;
    int rowsSeen = 0;
    QObject::connect(&script, &QTimer::timeout, [&] {
        if (++rowsSeen == 20) rig.meter->SetState(WithT1(351));
    });
    script.start(10);
    cli::CliArguments arguments;
    arguments.device = PathOf(*rig.meter);
    arguments.alarms.settings.Channel(core::AlarmChannel::T1).High = {true, 30.0};
    arguments.alarms.any = true;
    arguments.alarms.exitOnAlarm = true;
    link::TComPort comm1;
    link::TComPort comm2;
    cli::MeterAccess access{comm1, comm2, rig.clock, core::kExchangeLimits.tick / CliRig::kSpeedUp};
    cli::CliIo io{rig.out, rig.err, false};
    EXPECT_EQ(cli::RunWatch(arguments, access, io, rig.stop), ExitCode::AlarmRaised);
    EXPECT_EQ(cli::ToInt(ExitCode::AlarmRaised), 10);
    const QStringList lines = rig.OutLines();
    ASSERT_EQ(lines.size(), 1) << rig.Out().toStdString();
    EXPECT_TRUE(lines[0].endsWith(" raised t1-high 35.1 30.0 C")) << lines[0].toStdString();
}

}  // namespace
}  // namespace kr820::testing
