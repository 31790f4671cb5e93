// SPDX-License-Identifier: MIT
// kr820-cli watch from its command line against the emulated meter: only the alarms' raises and
// clears are printed, one line each; --exit-on-alarm ends with its own code; -o appends.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <algorithm>

#include "cli_rig.h"

namespace kr820::testing {
namespace {

using cli::ExitCode;

// T1 at 25.0, then from the third poll on 35.0, 25.0, 35.0, 25.0, three polls each.
class TogglingT1 {
public:
    explicit TogglingT1(emulator::MeterEmulator& meter) : m_meter(meter) {
        meter.SetState(WithT1(250));
        QObject::connect(&m_script, &QTimer::timeout, [this] {
            const int phase = std::min(Polls(m_meter) / 3, 4);
            if (phase == m_phase) return;
            m_phase = phase;
            m_meter.SetState(WithT1(phase % 2 == 1 ? 350 : 250));
        });
        m_script.start(2);
    }

private:
    emulator::MeterEmulator& m_meter;
    QTimer m_script;
    int m_phase = 0;
};

TEST(CliWatchCommand, ExitOnAlarmEndsWithTenOnceT1PassesTheLimit) {
    CliRig rig;
    rig.meter->SetState(WithT1(300));  // at the limit: no raise
    QTimer script;
    QObject::connect(&script, &QTimer::timeout, [&] {
        if (Polls(*rig.meter) >= 5) rig.meter->SetState(WithT1(301));
    });
    script.start(5);
    EXPECT_EQ(rig.Run({"watch", "--alarm", "t1>30", "--exit-on-alarm"}), ExitCode::AlarmRaised)
        << rig.Err().toStdString();
    const QStringList lines = rig.OutLines();
    ASSERT_EQ(lines.size(), 1) << rig.Out().toStdString();
    EXPECT_TRUE(lines[0].endsWith(" raised t1-high 30.1 30.0 C")) << lines[0].toStdString();
    EXPECT_GE(Polls(*rig.meter), 5);
}

TEST(CliWatchCommand, OneLinePerRaiseAndClearUntilTheCount) {
    CliRig rig;
    TogglingT1 toggling(*rig.meter);
    ASSERT_EQ(rig.Run({"watch", "--alarm", "t1>30", "--count", "20"}), ExitCode::Success)
        << rig.Err().toStdString();
    const QStringList lines = rig.OutLines();
    ASSERT_EQ(lines.size(), 4) << rig.Out().toStdString();
    for (int i = 0; i < 4; ++i) {
        EXPECT_TRUE(lines[i].endsWith(i % 2 == 0 ? " raised t1-high 35.0 30.0 C"
                                                 : " cleared t1-high 25.0 30.0 C"))
            << lines[i].toStdString();
    }
}

TEST(CliWatchCommand, OutputFileGetsTheLinesAppended) {
    QTemporaryDir dir;
    const QString file = dir.filePath("alarms.log");
    {
        QFile earlier(file);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier line\n");
    }
    CliRig rig;
    rig.meter->SetState(WithT1(350));
    ASSERT_EQ(rig.Run({"watch", "--alarm", "t1>30", "--count", "3", "-o", file}), ExitCode::Success)
        << rig.Err().toStdString();
    EXPECT_TRUE(rig.Out().isEmpty());
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(written.readAll()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "earlier line");
    EXPECT_TRUE(lines[1].endsWith(" raised t1-high 35.0 30.0 C")) << lines[1].toStdString();
}

TEST(CliWatchCommand, ANamedDeviceThatIsNotThereEndsItAtOnce) {
    CliRig rig;
    EXPECT_EQ(rig.Run({"watch", "--alarm", "lost", "--device", "/nonexistent/ttyUSB9"}, false),
              ExitCode::NoMeter);
    EXPECT_TRUE(rig.Err().contains("/nonexistent/ttyUSB9")) << rig.Err().toStdString();
    EXPECT_TRUE(rig.Out().isEmpty());
}

TEST(CliWatchCommand, WithoutAnAlarmOrWithALiveOnlyOptionItIsRefused) {
    for (const QStringList& arguments :
         {QStringList{"watch"}, QStringList{"watch", "--hold", "5"},
          QStringList{"watch", "--alarm", "probe", "--format", "csv"},
          QStringList{"live", "--exit-on-alarm"}}) {
        CliRig rig;
        EXPECT_EQ(rig.Run(arguments), ExitCode::Usage) << arguments.join(' ').toStdString();
        EXPECT_TRUE(rig.Out().isEmpty());
    }
}

}  // namespace
}  // namespace kr820::testing
