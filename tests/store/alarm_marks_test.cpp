// SPDX-License-Identifier: MIT
// Every alarm's raise and clear survive the store: the command line and the desktop write marks
// that each other reads back as the same alarm.
#include "store/alarm_marks.h"

#include <gtest/gtest.h>

#include "core/alarms/alarm_id.h"

namespace kr820::store {
namespace {

TEST(AlarmMarksTest, EveryAlarmsRaiseAndClearComeBackAsTheyWere) {
    for (const core::AlarmId alarm : core::kAllAlarms) {
        for (const core::AlarmChange change :
             {core::AlarmChange::Raised, core::AlarmChange::Cleared}) {
            core::AlarmEvent event;
            event.Alarm = alarm;
            event.Change = change;
            event.Time = QDateTime::fromMSecsSinceEpoch(1'700'000'123'000);
            if (alarm.Kind == core::AlarmKind::High || alarm.Kind == core::AlarmKind::Low) {
                event.Value = 35.0;
                event.Limit = 30.0;
            }
            event.Unit = core::DisplayUnit::Fahrenheit;
            const std::optional<AlarmMark> mark = MarkOfAlarmEvent(event);
            ASSERT_TRUE(mark) << core::AlarmName(alarm).toStdString();
            const std::optional<core::AlarmEvent> back =
                AlarmEventOfMark(*mark, core::DisplayUnit::Fahrenheit);
            ASSERT_TRUE(back);
            EXPECT_EQ(back->Alarm, alarm) << core::AlarmName(alarm).toStdString();
            EXPECT_EQ(back->Change, change);
            EXPECT_EQ(back->Time, event.Time);
            EXPECT_EQ(back->Value, event.Value);
            EXPECT_EQ(back->Limit, event.Limit);
        }
    }
}

TEST(AlarmMarksTest, AnAcknowledgementIsNotKeptAndAnUnknownKindIsNotRead) {
    core::AlarmEvent acknowledged;
    acknowledged.Change = core::AlarmChange::Acknowledged;
    EXPECT_FALSE(MarkOfAlarmEvent(acknowledged));
    AlarmMark later;
    later.Kind = 9;  // of a later version
    EXPECT_FALSE(AlarmEventOfMark(later, core::DisplayUnit::Celsius));
}

}  // namespace
}  // namespace kr820::store
