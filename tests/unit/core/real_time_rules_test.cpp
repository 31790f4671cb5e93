// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "core/realtime/real_time_rates.h"
#include "core/realtime/real_time_sample.h"

namespace kr820::core {
namespace {

TEST(RealTimeRates, PeriodTextIsPaddedAsItsLabelSays) {
    EXPECT_EQ(PeriodText(2 * 2000), "01:06:40");
    EXPECT_EQ(PeriodText(5), "00:00:05");
    EXPECT_EQ(PeriodText(3600LL * 99999), "99999:00:00");
    EXPECT_EQ(RealTimeRateIndex("60:00"), 12);
    EXPECT_EQ(kRealTimeRates[12].seconds, 3600);
    EXPECT_EQ(RealTimeRateIndex("00:03"), -1);
}

TEST(RealTimeSample, FahrenheitComesFromTheStatusWordAndFlagsFromEachByte) {
    const RealTimeSample sample = MakeRealTimeSample(0x0040, 0x0200, 100.0f, -40.0f);
    EXPECT_FLOAT_EQ(sample.T1, 212.0f);
    EXPECT_FLOAT_EQ(sample.T2, -40.0f);
    EXPECT_FALSE(sample.T1OutOfRange);
    EXPECT_TRUE(sample.T2OutOfRange);
    EXPECT_FLOAT_EQ(sample.ChartT2(), 9999.0f);
    EXPECT_FALSE(MakeRealTimeSample(0, 0x0404, 1, 1).T1OutOfRange) << "only bits 0 and 1 count";
}

TEST(RealTimeSample, ExtremesAreCheckedInTheirOrderAndTheFirstSampleSetsAllFour) {
    RealTimeExtremes extremes;
    const auto first = UpdateExtremes(extremes, {20.0f, 30.0f, false, false});
    EXPECT_EQ(first, (std::vector<ExtremeField>{ExtremeField::T1Max, ExtremeField::T1Min,
                                                ExtremeField::T2Max, ExtremeField::T2Min}));
    EXPECT_TRUE(UpdateExtremes(extremes, {20.0f, 30.0f, false, false}).empty())
        << "an equal value keeps the earlier one";
    EXPECT_EQ(UpdateExtremes(extremes, {25.0f, 10.0f, false, false}),
              (std::vector<ExtremeField>{ExtremeField::T1Max, ExtremeField::T2Min}));
}

TEST(RealTimeSample, AveragesLeaveOutEverythingOutsideThreeThousand) {
    const std::vector<float> values{10.0f, 9999.0f, 20.0f, -3000.0f, 3000.0f};
    EXPECT_DOUBLE_EQ(*AverageWithinLimits(values), 15.0);
    const std::vector<float> none{9999.0f};
    EXPECT_FALSE(AverageWithinLimits(none).has_value());
}

}  // namespace
}  // namespace kr820::core
