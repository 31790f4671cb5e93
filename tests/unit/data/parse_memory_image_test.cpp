// SPDX-License-Identifier: MIT
// Decoding whole memory images: what lands in the store, and what a damaged image leaves alone.
#include "core/data/parse_memory_image.h"

#include <gtest/gtest.h>

#include "core/data/limit_values.h"
#include "guarded_bytes.h"
#include "memory_image_builder.h"

namespace kr820::core {
namespace {

using testing::GuardedBytes;
using testing::ImageBuilder;
using testing::Stamp;
using testing::TestSet;

QDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// The PC clock for every test here. A function, not a global: the date conversion must not run
// during static initialisation, before its own epoch constant exists.
TDateTime Now() { return ToTDateTime(At(2031, 1, 2, 3, 4, 5)); }

TestSet TypeKCelsiusSet() {  // 1 s
    TestSet set;
    set.when = Stamp(24, 5, 17, 9, 59, 58);
    set.rateCode = 0;
    set.flags = 0x00;
    set.pairs = {{235, -100}, {236, -99}, {237, -98}};
    return set;
}

TestSet TypeJFahrenheitSet() {  // one hour
    TestSet set;
    set.when = Stamp(24, 5, 17, 10, 0, 0);
    set.rateCode = 12;
    set.flags = 0x41;
    set.pairs = {{0, 1000}, {100, 200}, {-400, 500}, {7600, -2000}};
    return set;
}

// A store that already holds something, to see that a refused image leaves it as it was.
TDataSetStore EarlierStore() {
    TDataSetStore store;
    TestSet set;
    set.when = Stamp(20, 1, 1, 0, 0, 0);
    set.pairs = {{1, 2}};
    const ParseOutcome outcome = ParseMemoryImage(ImageBuilder().Add(set).Build(), store, Now());
    EXPECT_EQ(outcome.Code, ParseCode::Success);
    return store;
}

TEST(ParseMemoryImage, TwoSetsFillThePerSetAndFlatSequences) {
    const ImageBuilder image = ImageBuilder().Add(TypeKCelsiusSet()).Add(TypeJFahrenheitSet());
    TDataSetStore store;
    ASSERT_EQ(ParseMemoryImage(image.Build(), store, Now()).Code, ParseCode::Success);

    ASSERT_EQ(store.SetCount(), 2);
    EXPECT_EQ(store.StartTimes(), (std::vector{ToTDateTime(At(2024, 5, 17, 9, 59, 58)),
                                               ToTDateTime(At(2024, 5, 17, 10, 0, 0))}));
    EXPECT_EQ(store.RateCodes(), (std::vector<std::int32_t>{0, 12}));
    EXPECT_EQ(store.SampleCounts(), (std::vector<std::int32_t>{3, 4}));
    EXPECT_EQ(store.SetFlags(), (std::vector<std::uint8_t>{0x00, 0x41}));
    EXPECT_EQ(store.FirstBytes(), (std::vector<std::int32_t>{256, 256 + 30}));
    EXPECT_EQ(store.EndBytes(), (std::vector<std::int32_t>{256 + 29, 256 + 30 + 33}));

    // Set 0 as it stands; set 1 converted to Fahrenheit, its limit markers not.
    EXPECT_EQ(store.Values(),
              (std::vector<float>{23.5f, -10.0f, 23.6f, -9.9f, 23.7f, -9.8f,  //
                                  32.0f, 212.0f, 50.0f, 68.0f, -40.0f, 122.0f, 1400.0f, -328.0f}));
    ASSERT_EQ(store.Times().size(), store.Values().size());
    EXPECT_EQ(FromTDateTime(store.Times()[4]), At(2024, 5, 17, 10, 0, 0));
    EXPECT_EQ(FromTDateTime(store.Times()[5]), At(2024, 5, 17, 10, 0, 0));
    // Pair 3 of the hourly set starting at 10:00:00, T1 and T2 alike.
    EXPECT_EQ(FromTDateTime(store.Times()[12]), At(2024, 5, 17, 13, 0, 0));
    EXPECT_EQ(FromTDateTime(store.Times()[13]), At(2024, 5, 17, 13, 0, 0));

    EXPECT_EQ(store.SetRange(1).First, 6);
    EXPECT_EQ(store.SetRange(1).Count, 8);
    EXPECT_EQ(FromTDateTime(store.SetEndTime(1)), At(2024, 5, 17, 14, 0, 0));
}

TEST(ParseMemoryImage, LimitsAreTestedInCelsiusBeforeConversion) {
    TestSet kCelsius;
    kCelsius.pairs = {{13700, 13701}, {-2000, -2001}};
    TestSet jCelsius;
    jCelsius.flags = 0x02;
    jCelsius.pairs = {{7600, 7601}, {-2001, 13700}};
    TestSet kFahrenheit;
    kFahrenheit.flags = 0x40;
    kFahrenheit.pairs = {{13700, 13701}, {-2001, -2000}};
    TDataSetStore store;
    ASSERT_EQ(ParseMemoryImage(ImageBuilder().Add(kCelsius).Add(jCelsius).Add(kFahrenheit).Build(),
                               store, Now())
                  .Code,
              ParseCode::Success);

    EXPECT_EQ(store.Values(),
              (std::vector<float>{1370.0f, OverLimitValue, -200.0f, UnderLimitValue,  //
                                  760.0f, OverLimitValue, UnderLimitValue, OverLimitValue, 2498.0f,
                                  OverLimitValue, UnderLimitValue, -328.0f}));
}

TEST(ParseMemoryImage, SetCountDecidesBeforeAnyRecordIsRead) {
    const TDataSetStore earlier = EarlierStore();
    struct Case {
        const char* countText;
        ParseCode expected;
    };
    for (const Case& c : {Case{"0", ParseCode::NoDataSets}, Case{"0;", ParseCode::NoDataSets},
                          Case{"FA1", ParseCode::BadSetCount}, Case{"-1", ParseCode::BadSetCount},
                          Case{"FFFFF", ParseCode::BadSetCount}}) {
        // The records behind are fine: only the count may refuse the image.
        const QByteArray image =
            ImageBuilder().Add(TypeKCelsiusSet()).CountText(c.countText).Build();
        TDataSetStore store = earlier;
        EXPECT_EQ(ParseMemoryImage(image, store, Now()).Code, c.expected) << c.countText;
        EXPECT_EQ(store, earlier) << c.countText;
    }
}

TEST(ParseMemoryImage, CountTextSkipsBlanksAndEndsAtTheFirstNonDigit) {
    const ImageBuilder twoSets = ImageBuilder().Add(TypeKCelsiusSet()).Add(TypeJFahrenheitSet());
    for (const char* text : {" 2", "  02;", "2Z", "0002"}) {
        TDataSetStore store;
        ASSERT_EQ(
            ParseMemoryImage(ImageBuilder(twoSets).CountText(text).Build(), store, Now()).Code,
            ParseCode::Success)
            << text;
        EXPECT_EQ(store.SetCount(), 2) << text;
    }
    // A count below what memory holds simply decodes fewer sets.
    TDataSetStore store;
    ASSERT_EQ(ParseMemoryImage(ImageBuilder(twoSets).CountText("1").Build(), store, Now()).Code,
              ParseCode::Success);
    EXPECT_EQ(store.SetCount(), 1);
}

TEST(ParseMemoryImage, FourThousandSetsAreTheMost) {
    ImageBuilder full;
    for (int i = 0; i < 4000; ++i) full.Add(TestSet{});
    TDataSetStore store;
    ASSERT_EQ(ParseMemoryImage(full.Build(), store, Now()).Code, ParseCode::Success);
    EXPECT_EQ(store.SetCount(), 4000);
    EXPECT_TRUE(store.Values().empty());

    full.Add(TestSet{});
    EXPECT_EQ(ParseMemoryImage(full.CountText("FA1").Build(), store, Now()).Code,
              ParseCode::BadSetCount);
    EXPECT_EQ(store.SetCount(), 4000);
}

TEST(ParseMemoryImage, OneRightMarkerOfEachPairIsEnough) {
    using Markers = std::array<std::uint8_t, 2>;
    for (const Markers start : {Markers{0xA5, 0x00}, Markers{0x00, 0x5A}}) {
        for (const Markers end : {Markers{0x5A, 0x00}, Markers{0x00, 0xA5}}) {
            TestSet set = TypeJFahrenheitSet();
            set.start = start;
            set.end = end;
            TDataSetStore store;
            EXPECT_EQ(ParseMemoryImage(ImageBuilder().Add(set).Build(), store, Now()).Code,
                      ParseCode::Success);
            EXPECT_EQ(store.SampleCounts(), (std::vector<std::int32_t>{4}));
        }
    }
}

TEST(ParseMemoryImage, BadMarkersAnywhereRefuseTheWholeImage) {
    const TDataSetStore earlier = EarlierStore();
    using Markers = std::array<std::uint8_t, 2>;
    struct Case {
        Markers start;
        Markers end;
    };
    for (const Case& c : {Case{{0x00, 0x00}, {0x5A, 0xA5}}, Case{{0xA5, 0x5A}, {0x00, 0x00}},
                          Case{{0x5A, 0xA5}, {0x5A, 0xA5}}}) {
        TestSet last = TypeKCelsiusSet();
        last.start = c.start;
        last.end = c.end;
        const ImageBuilder image =
            ImageBuilder().Add(TypeKCelsiusSet()).Add(TypeJFahrenheitSet()).Add(last);
        TDataSetStore store = earlier;
        const ParseOutcome outcome = ParseMemoryImage(image.Build(), store, Now());

        EXPECT_EQ(outcome.Code, ParseCode::DamagedRecord);
        EXPECT_EQ(outcome.ErrorSet, 2);
        EXPECT_EQ(outcome.ErrorOffset, image.EndOffset(1));
        EXPECT_EQ(store, earlier) << "the two good sets must not be kept either";
    }
}

TEST(ParseMemoryImage, ARecordMayEndAtMemoryEndButNotBeyond) {
    const ImageBuilder twoSets = ImageBuilder().Add(TypeKCelsiusSet()).Add(TypeJFahrenheitSet());
    const auto lastEnd = static_cast<std::uint32_t>(twoSets.EndOffset(1));
    TDataSetStore store;
    EXPECT_EQ(
        ParseMemoryImage(ImageBuilder(twoSets).EndAddress(lastEnd + 0xFEFF).Build(), store, Now())
            .Code,
        ParseCode::Success);

    const TDataSetStore before = store;
    const ParseOutcome outcome =
        ParseMemoryImage(ImageBuilder(twoSets).EndAddress(lastEnd + 0xFEFE).Build(), store, Now());
    EXPECT_EQ(outcome.Code, ParseCode::DamagedRecord);
    EXPECT_EQ(outcome.ErrorSet, 1);
    EXPECT_EQ(store, before);
}

TEST(ParseMemoryImage, ASetWithoutSamplesTakesEighteenBytes) {
    TestSet empty;
    empty.pairs = {};
    TDataSetStore store;
    ASSERT_EQ(
        ParseMemoryImage(ImageBuilder().Add(empty).Add(TypeKCelsiusSet()).Build(), store, Now())
            .Code,
        ParseCode::Success);
    EXPECT_EQ(store.FirstBytes(), (std::vector<std::int32_t>{256, 256 + 18}));
    EXPECT_EQ(store.SetRange(0).Count, 0);
    EXPECT_EQ(store.SetRange(1).First, 0);
    EXPECT_EQ(store.Values().size(), 6u);
}

TEST(ParseMemoryImage, AnImpossibleStartTakesThePcClock) {
    TestSet february31;
    february31.when = Stamp(24, 2, 31, 10, 0, 0);
    TestSet hour24;
    hour24.when = Stamp(24, 5, 17, 24, 0, 0);
    TestSet hexNibble;  // month 0x1A reads as 20
    hexNibble.when = {0x24, 0x1A, 0x01, 0x00, 0x00, 0x00};
    TestSet leapDay;
    leapDay.when = Stamp(24, 2, 29, 23, 59, 59);
    for (TestSet* set : {&february31, &hour24, &hexNibble, &leapDay}) {
        set->rateCode = 3;
        set->pairs = {{1, 2}, {3, 4}};
    }
    TDataSetStore store;
    ASSERT_EQ(ParseMemoryImage(
                  ImageBuilder().Add(february31).Add(hour24).Add(hexNibble).Add(leapDay).Build(),
                  store, Now())
                  .Code,
              ParseCode::Success);
    EXPECT_EQ(store.StartTimes(),
              (std::vector{Now(), Now(), Now(), ToTDateTime(At(2024, 2, 29, 23, 59, 59))}));
    // The samples of a clock-stamped set follow from that start like any other.
    EXPECT_EQ(FromTDateTime(store.Times()[2]), At(2031, 1, 2, 3, 4, 15));
}

TEST(ParseMemoryImage, RateCodeAboveTheListStepsTwoSeconds) {
    TestSet set = TypeKCelsiusSet();
    set.rateCode = 14;
    TDataSetStore store;
    ASSERT_EQ(ParseMemoryImage(ImageBuilder().Add(set).Build(), store, Now()).Code,
              ParseCode::Success);
    EXPECT_EQ(store.RateCodes(), (std::vector<std::int32_t>{14}));
    EXPECT_EQ(FromTDateTime(store.Times()[4]), At(2024, 5, 17, 10, 0, 2));
}

TEST(ParseMemoryImage, EveryPrefixOfAnImageParsesOrIsRefusedWithoutReadingPastIt) {
    const ImageBuilder builder = ImageBuilder().Add(TypeKCelsiusSet()).Add(TypeJFahrenheitSet());
    const QByteArray image = builder.Build();
    TDataSetStore full;
    ASSERT_EQ(ParseMemoryImage(image, full, Now()).Code, ParseCode::Success);
    const TDataSetStore earlier = EarlierStore();

    for (qsizetype length = 0; length <= image.size(); ++length) {
        const GuardedBytes prefix(QByteArrayView(image).first(length));
        TDataSetStore store = earlier;
        const ParseOutcome outcome = ParseMemoryImage(prefix.View(), store, Now());
        if (length > builder.EndOffset(1)) {
            EXPECT_EQ(outcome.Code, ParseCode::Success) << length;
            EXPECT_EQ(store, full) << length;
        } else {
            EXPECT_EQ(outcome.Code, ParseCode::DamagedRecord) << length;
            EXPECT_EQ(store, earlier) << length;
        }
    }
}

TEST(ParseMemoryImage, AHeaderAreaCutShortIsADamagedImage) {
    TDataSetStore store;
    const ParseOutcome outcome =
        ParseMemoryImage(ImageBuilder().Add(TypeKCelsiusSet()).Build().left(256), store, Now());
    EXPECT_EQ(outcome.Code, ParseCode::DamagedRecord);
    EXPECT_EQ(outcome.ErrorSet, 0);
    EXPECT_EQ(outcome.ErrorOffset, 255);
}

TEST(RecoverSetsBeforeDamage, KeepsTheSetsBeforeTheDamagedRecord) {
    TestSet damaged = TypeKCelsiusSet();
    damaged.start = {0, 0};
    const QByteArray image =
        ImageBuilder().Add(TypeKCelsiusSet()).Add(TypeJFahrenheitSet()).Add(damaged).Build();
    TDataSetStore twoGood;
    ASSERT_EQ(
        ParseMemoryImage(ImageBuilder().Add(TypeKCelsiusSet()).Add(TypeJFahrenheitSet()).Build(),
                         twoGood, Now())
            .Code,
        ParseCode::Success);

    TDataSetStore store = EarlierStore();
    const ParseOutcome failure = ParseMemoryImage(image, store, Now());
    ASSERT_EQ(failure.Code, ParseCode::DamagedRecord);
    EXPECT_EQ(RecoverSetsBeforeDamage(image, failure, store, Now()), 2);
    EXPECT_EQ(store, twoGood);
}

TEST(RecoverSetsBeforeDamage, LeavesTheStoreAloneWhenNothingPrecedesTheDamage) {
    TestSet damaged = TypeKCelsiusSet();
    damaged.end = {0, 0};
    const QByteArray image = ImageBuilder().Add(damaged).Add(TypeJFahrenheitSet()).Build();
    const TDataSetStore earlier = EarlierStore();
    TDataSetStore store = earlier;
    const ParseOutcome failure = ParseMemoryImage(image, store, Now());
    ASSERT_EQ(failure.ErrorSet, 0);
    EXPECT_EQ(RecoverSetsBeforeDamage(image, failure, store, Now()), 0);
    EXPECT_EQ(store, earlier);

    const QByteArray good = ImageBuilder().Add(TypeJFahrenheitSet()).Build();
    EXPECT_EQ(RecoverSetsBeforeDamage(good, ParseMemoryImage(good, store, Now()), store, Now()), 0);
}

}  // namespace
}  // namespace kr820::core
