// SPDX-License-Identifier: MIT
// "setup", "clock sync" and "erase" against the emulated meter: what the meter holds afterwards,
// and nothing sent when a value is refused.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>

#include "cli_rig.h"
#include "core/setup/meter_setup.h"

namespace kr820::testing {
namespace {

using cli::ExitCode;

core::MeterSetup MetersSetup(const emulator::MeterEmulator& meter) {
    return core::DecodeMeterSetup(QByteArray::fromStdString(meter.SetupRecord()),
                                  QDateTime::currentDateTime());
}

bool AnySetupWrite(const emulator::MeterEmulator& meter) {
    for (const std::string& body : meter.ReceivedBodies())
        if (body.rfind("wE", 0) == 0 || body.rfind("WRTC", 0) == 0) return true;
    return false;
}

TEST(CliSetup, ShowPrintsTheMetersFields) {
    CliRig rig;
    ASSERT_EQ(rig.Run({"setup", "show"}), ExitCode::Success) << rig.Err().toStdString();
    const QStringList lines = rig.OutLines();
    EXPECT_TRUE(lines.contains("type=K"));
    EXPECT_TRUE(lines.contains("record-interval=00:00:01"));
    EXPECT_TRUE(lines.contains(
        "alarm-upper=" + QString::number(MetersSetup(*rig.meter).AlarmUpperTenths / 10.0, 'f', 1)));
    EXPECT_FALSE(AnySetupWrite(*rig.meter));

    CliRig json;
    ASSERT_EQ(json.Run({"setup", "show", "--json"}), ExitCode::Success);
    const QJsonObject object = QJsonDocument::fromJson(json.out.data()).object();
    EXPECT_EQ(object.value("type").toString(), "K");
    // Numbers are JSON numbers, each with its unit.
    const QJsonObject interval = object.value("record-interval").toObject();
    EXPECT_EQ(interval.value("value").toDouble(-1), 1.0);
    EXPECT_EQ(interval.value("unit").toString(), "s");
    const QJsonValue upper = object.value("alarm-upper").toObject().value("value");
    EXPECT_TRUE(upper.isDouble());
    EXPECT_DOUBLE_EQ(upper.toDouble(), MetersSetup(*json.meter).AlarmUpperTenths / 10.0);
    EXPECT_TRUE(object.value("memory-left").toObject().value("value").isDouble());
    EXPECT_EQ(object.value("print-start").toString().size(), 19);  // text stays text
}

TEST(CliSetup, SetWritesTheNamedFieldsAndKeepsTheRest) {
    CliRig rig;
    const core::MeterSetup before = MetersSetup(*rig.meter);
    ASSERT_EQ(rig.Run({"setup", "set", "record-interval=00:01:00", "type=J", "alarm-lower=-12.5",
                       "low-limit=-225"}),
              ExitCode::Success)
        << rig.Err().toStdString();
    const core::MeterSetup after = MetersSetup(*rig.meter);
    EXPECT_EQ(after.RecordIntervalIndex, 6);
    EXPECT_FALSE(after.TypeK);
    EXPECT_EQ(after.AlarmLowerTenths, -125);
    EXPECT_EQ(after.LowLimit, -220);  // cut to tens, as the dialog does
    EXPECT_EQ(after.AlarmUpperTenths, before.AlarmUpperTenths);
    EXPECT_EQ(after.PrintIntervalIndex, before.PrintIntervalIndex);
    // The clock the save sets is the meter's own, running on, not this computer's.
    EXPECT_LE(std::abs(after.MeterClock.secsTo(before.MeterClock)), 2);
    EXPECT_TRUE(rig.Out().contains("00:01:00")) << rig.Out().toStdString();
}

TEST(CliSetup, RefusedValuesSendNothing) {
    for (const QString assignment :
         {"record-interval=00:00:03", "alarm-upper=hot", "low-limit=1.5",
          "clock=2026-01-01T00:00:00", "colour=red", "record-start=1999-12-31T23:00:00"}) {
        SCOPED_TRACE(assignment.toStdString());
        CliRig rig;
        EXPECT_EQ(rig.Run({"setup", "set", assignment}), ExitCode::Failed);
        EXPECT_EQ(rig.Err().count('\n'), 1) << rig.Err().toStdString();
        EXPECT_TRUE(rig.meter->ReceivedBodies().empty());
    }
}

// The meter's fields are 16-bit tenths (alarms) and -220 to 2400 (low limit): the values at
// their ends are written, the ones beyond are refused before the meter hears anything.
TEST(CliSetup, LimitsAreWrittenToTheEndsOfTheMetersRange) {
    CliRig rig;
    ASSERT_EQ(
        rig.Run({"setup", "set", "alarm-upper=3276.7", "alarm-lower=-3276.8", "low-limit=2400"}),
        ExitCode::Success)
        << rig.Err().toStdString();
    core::MeterSetup after = MetersSetup(*rig.meter);
    EXPECT_EQ(after.AlarmUpperTenths, 32767);
    EXPECT_EQ(after.AlarmLowerTenths, -32768);
    EXPECT_EQ(after.LowLimit, 2400);

    CliRig low;
    ASSERT_EQ(low.Run({"setup", "set", "low-limit=-220"}), ExitCode::Success);
    EXPECT_EQ(MetersSetup(*low.meter).LowLimit, -220);
}

TEST(CliSetup, LimitsBeyondTheMetersRangeAreRefusedAndNothingIsSent) {
    struct Case {
        const char* assignment;
        const char* says;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"alarm-upper=3276.8",
              "Alarm Upper: \"3276.8\" is outside what the meter holds, "
              "-3276.8 to 3276.7."},
             {"alarm-lower=-3276.9", "Alarm Lower: \"-3276.9\" is outside"},
             {"alarm-upper=5000", "-3276.8 to 3276.7"},
             {"alarm-upper=99999", "-3276.8 to 3276.7"},
             {"low-limit=2410",
              "Low Limit: \"2410\" is outside what the meter holds, -220 to "
              "2400."},
             {"low-limit=-230", "-220 to 2400"},
         }) {
        SCOPED_TRACE(c.assignment);
        CliRig rig;
        EXPECT_EQ(rig.Run({"setup", "set", "type=J", c.assignment}), ExitCode::Failed);
        EXPECT_TRUE(rig.Err().contains(c.says)) << rig.Err().toStdString();
        EXPECT_TRUE(rig.meter->ReceivedBodies().empty());
    }
}

TEST(CliSetup, AWriteTheMeterDoesNotConfirmFails) {
    CliRig rig;
    emulator::SetupFaults faults;
    faults.refuseWritesFrom = 0x50;
    rig.meter->SetSetupFaults(faults);
    EXPECT_EQ(rig.Run({"setup", "set", "type=J"}), ExitCode::MeterRefused);
    EXPECT_TRUE(rig.Err().contains("address 0x50")) << rig.Err().toStdString();
}

TEST(CliSetup, ClockSyncSetsTheMetersClock) {
    CliRig rig;
    std::string record = rig.meter->SetupRecord();
    // Two hours behind: 2020-01-01 00:00:00.
    record.replace(61, 6, std::string("\x20\x01\x01\x00\x00\x00", 6));
    ASSERT_TRUE(rig.meter->SetSetupRecord(record));
    ASSERT_EQ(rig.Run({"clock", "sync"}), ExitCode::Success) << rig.Err().toStdString();
    EXPECT_LE(std::abs(MetersSetup(*rig.meter).MeterClock.secsTo(QDateTime::currentDateTime())), 2);
    EXPECT_TRUE(rig.Out().contains("behind this computer")) << rig.Out().toStdString();
}

TEST(CliSetup, EraseEmptiesTheMemory) {
    CliRig rig;
    ASSERT_GT(rig.meter->Memory().size(), 256u);
    ASSERT_EQ(rig.Run({"erase", "--yes"}), ExitCode::Success) << rig.Err().toStdString();
    EXPECT_EQ(rig.meter->Memory().size(), 256u);

    CliRig recording;
    emulator::MeterState state = recording.meter->State();
    state.statusB |= emulator::kStatusBRecording;
    recording.meter->SetState(state);
    EXPECT_EQ(recording.Run({"erase", "--yes"}), ExitCode::MeterRecording);
    EXPECT_GT(recording.meter->Memory().size(), 256u);
}

}  // namespace
}  // namespace kr820::testing
