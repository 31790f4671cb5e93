// SPDX-License-Identifier: MIT
// The setup's fields by name: read back as written, refused as the dialog refuses them.
#include <gtest/gtest.h>

#include "core/setup/setup_fields.h"

namespace kr820::core {
namespace {

TEST(SetupFields, EveryWritableFieldTakesBackWhatItShows) {
    MeterSetup setup;
    setup.PrintStart = QDateTime(QDate(2026, 12, 7), QTime(9, 30, 0));
    setup.PrintStop = setup.RecordStart = setup.RecordStop = setup.MeterClock = setup.PrintStart;
    for (const QString& name : SetupFieldNames()) {
        SCOPED_TRACE(name.toStdString());
        const QString shown = SetupFieldValue(setup, name);
        EXPECT_FALSE(shown.isEmpty());
        if (!IsWritableSetupField(name)) continue;
        MeterSetup copy = setup;
        EXPECT_EQ(SetSetupField(copy, name, shown), std::nullopt);
        EXPECT_EQ(copy, setup);
    }
}

TEST(SetupFields, ValuesAsTheDialogTakesThem) {
    MeterSetup setup;
    EXPECT_EQ(SetSetupField(setup, "record-interval", "01:00:00"), std::nullopt);
    EXPECT_EQ(setup.RecordIntervalIndex, 12);
    EXPECT_EQ(SetSetupField(setup, "print-mode", "text"), std::nullopt);
    EXPECT_FALSE(setup.GraphPrintMode);
    EXPECT_EQ(SetSetupField(setup, "alarm", "OFF"), std::nullopt);
    EXPECT_FALSE(setup.AlarmOn);
    EXPECT_EQ(SetSetupField(setup, "alarm-upper", "1370.09"), std::nullopt);
    EXPECT_EQ(setup.AlarmUpperTenths, 13700);  // cut toward zero to tenths
    EXPECT_EQ(SetSetupField(setup, "low-limit", "-225"), std::nullopt);
    EXPECT_EQ(setup.LowLimit, -220);
    EXPECT_EQ(SetSetupField(setup, "record-start", "2030-02-03T04:05:06"), std::nullopt);
    EXPECT_EQ(setup.RecordStart, QDateTime(QDate(2030, 2, 3), QTime(4, 5, 6)));
}

TEST(SetupFields, RefusalsNameTheFieldAndChangeNothing) {
    const MeterSetup setup;
    struct Case {
        const char* name;
        const char* value;
        const char* says;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"record-interval", "00:00:03", "none of"},
             {"alarm-upper", "1,5", "Alarm Upper: \"1,5\" is not a number."},
             {"low-limit", "ten", "Low Limit: \"ten\" is not a whole number."},
             {"type", "T", "neither K nor J"},
             {"alarm", "maybe", "neither on nor off"},
             {"print-start", "2100-01-01T00:00:00", "no time between 2000 and 2099"},
             {"print-start", "07.12.2026 09:30", "no time"},
             {"memory-left", "5", "read only"},
             {"colour", "red", "no setup field"},
         }) {
        SCOPED_TRACE(c.name);
        MeterSetup copy = setup;
        const auto problem = SetSetupField(copy, c.name, c.value);
        ASSERT_TRUE(problem);
        EXPECT_TRUE(problem->contains(c.says)) << problem->toStdString();
        EXPECT_EQ(copy, setup);
    }
}

}  // namespace
}  // namespace kr820::core
