// SPDX-License-Identifier: MIT
// A run takes up its alarms where the log of the run before left them: an alarm raised then is
// the same alarm, not raised a second time.
#include <gtest/gtest.h>

#include <QTemporaryDir>

#include "alarm_rig.h"
#include "core/alarms/alarm_log.h"

namespace kr820::core {
namespace {

AlarmEvent Event(AlarmChange change, AlarmId id, const QDateTime& time,
                 std::optional<double> value = 35.0) {
    return {change, id, time, value, 30.0, DisplayUnit::Celsius};
}

// The status each alarm's history leaves, written to a log and read back.
AlarmPhase PhaseAfter(std::initializer_list<AlarmChange> changes) {
    QTemporaryDir dir;
    const QString log = dir.filePath("alarms.log");
    QDateTime time = AlarmRig::Start();
    for (const AlarmChange change : changes) {
        EXPECT_TRUE(AppendAlarmLog(log, Event(change, kT1High, time)));
        time = time.addSecs(1);
    }
    return AlarmStatusesOfLog(ReadAlarmLog(log))[AlarmIndex(kT1High)].Phase;
}

TEST(AlarmResume, TheLogSaysWhereEachAlarmStood) {
    using C = AlarmChange;
    EXPECT_EQ(PhaseAfter({}), AlarmPhase::Normal);
    EXPECT_EQ(PhaseAfter({C::Raised}), AlarmPhase::Raised);
    EXPECT_EQ(PhaseAfter({C::Raised, C::Acknowledged}), AlarmPhase::Acknowledged);
    EXPECT_EQ(PhaseAfter({C::Raised, C::Cleared}), AlarmPhase::Cleared);
    EXPECT_EQ(PhaseAfter({C::Raised, C::Acknowledged, C::Cleared}), AlarmPhase::Normal);
    EXPECT_EQ(PhaseAfter({C::Raised, C::Cleared, C::Acknowledged}), AlarmPhase::Normal);
    EXPECT_EQ(PhaseAfter({C::Raised, C::Cleared, C::Acknowledged, C::Raised}), AlarmPhase::Raised);

    // Lines that do not read are passed over.
    const auto statuses =
        AlarmStatusesOfLog({{"yesterday", "raised", "t1-high", "35.0", "30.0", "C"},
                            {"2026-03-01T12:00:00Z", "raised", "t9-high", "35.0", "30.0", "C"},
                            {"2026-03-01T12:00:00Z", "sneezed", "t1-high", "35.0", "30.0", "C"}});
    for (const AlarmStatus& status : statuses) EXPECT_EQ(status.Phase, AlarmPhase::Normal);
}

TEST(AlarmResume, ARaisedAlarmIsNotRaisedAgainButStillClears) {
    const AlarmSettings settings = T1Limits(30.0);
    std::array<AlarmStatus, kAlarmCount> before;
    before[AlarmIndex(kT1High)].Phase = AlarmPhase::Raised;
    before[AlarmIndex(kT1High)].LastRaise = Event(AlarmChange::Raised, kT1High, AlarmRig::Start());
    before[AlarmIndex(kLost)].Phase = AlarmPhase::Raised;  // switched off now: not taken

    AlarmRig rig(settings);
    rig.engine.Resume(before);
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Raised);
    EXPECT_EQ(rig.Phase(kLost), AlarmPhase::Normal);
    EXPECT_TRUE(rig.T1({35.0, 36.0}).empty()) << "still the alarm of the run before";
    const auto back = rig.T1({25.0});
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].Change, AlarmChange::Cleared);
    EXPECT_EQ(rig.Phase(kT1High), AlarmPhase::Cleared) << "still waits to be acknowledged";
}

}  // namespace
}  // namespace kr820::core
