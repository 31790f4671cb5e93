// SPDX-License-Identifier: MIT
// Decoding whole memory images: what lands in the store, and what a damaged image leaves alone.
#include "core/data/parse_memory_image.h"

#include <gtest/gtest.h>

#include "core/data/limit_values.h"
#include "memory_image_builder.h"

namespace kr820::core {
namespace {

using testing::ImageBuilder;
using testing::Stamp;
using testing::TestSet;

QDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return QDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// The PC clock for these tests. A function rather than a global: the date conversion must not run
// during static initialisation, where its epoch may not be set up yet.
TDateTime Now() { return ToTDateTime(At(2031, 1, 2, 3, 4, 5)); }

const TestSet kTypeKCelsius = {.when = Stamp(24, 5, 17, 9, 59, 58),
                               .rateCode = 0,
                               .flags = 0x00,
                               .pairs = {{235, -100}, {13700, 13701}, {-2000, -2001}}};
const TestSet kTypeJFahrenheit = {.when = Stamp(24, 5, 17, 10, 0, 0),
                                  .rateCode = 12,
                                  .flags = 0x41,
                                  .pairs = {{0, 1000}, {-400, 500}, {7600, 7601}, {-2000, -2001}}};

TDataSetStore Parsed(const QByteArray& image) {
    TDataSetStore store;
    EXPECT_EQ(ParseMemoryImage(image, store, Now()).Code, ParseCode::Success);
    return store;
}

TEST(ParseMemoryImage, TwoSetsFillThePerSetAndFlatSequences) {
    const TDataSetStore store =
        Parsed(ImageBuilder().Add(kTypeKCelsius).Add(kTypeJFahrenheit).Build());

    EXPECT_EQ(store.StartTimes(), (std::vector{ToTDateTime(At(2024, 5, 17, 9, 59, 58)),
                                               ToTDateTime(At(2024, 5, 17, 10, 0, 0))}));
    EXPECT_EQ(store.RateCodes(), (std::vector<std::int32_t>{0, 12}));
    EXPECT_EQ(store.SampleCounts(), (std::vector<std::int32_t>{3, 4}));
    EXPECT_EQ(store.SetFlags(), (std::vector<std::uint8_t>{0x00, 0x41}));
    EXPECT_EQ(store.FirstBytes(), (std::vector<std::int32_t>{256, 286}));
    EXPECT_EQ(store.EndBytes(), (std::vector<std::int32_t>{285, 319}));
    // Limits are tested in Celsius; only values in range are converted to Fahrenheit.
    EXPECT_EQ(store.Values(),
              (std::vector<float>{23.5f, -10.0f, 1370.0f, OverLimitValue, -200.0f, UnderLimitValue,
                                  32.0f, 212.0f, -40.0f, 122.0f, 1400.0f, OverLimitValue, -328.0f,
                                  UnderLimitValue}));
    ASSERT_EQ(store.Times().size(), 14u);
    EXPECT_EQ(FromTDateTime(store.Times()[4]), At(2024, 5, 17, 10, 0, 0));
    // Pair 3 of the hourly set starting at 10:00:00, its T1 and its T2.
    EXPECT_EQ(FromTDateTime(store.Times()[12]), At(2024, 5, 17, 13, 0, 0));
    EXPECT_EQ(FromTDateTime(store.Times()[13]), At(2024, 5, 17, 13, 0, 0));
    EXPECT_EQ(store.SetRange(1).First, 6);
    EXPECT_EQ(FromTDateTime(store.SetEndTime(1)), At(2024, 5, 17, 14, 0, 0));
}

TEST(ParseMemoryImage, RefusedImagesLeaveTheStoreAsItWas) {
    TestSet noStart = kTypeJFahrenheit, noEnd = kTypeJFahrenheit;
    noStart.start = {0x00, 0x00};
    noEnd.end = {0xA5, 0x5A};
    const ImageBuilder good = ImageBuilder().Add(kTypeKCelsius).Add(kTypeJFahrenheit);
    struct Case {
        QByteArray image;
        ParseCode code;
        int errorSet;
    };
    const Case cases[] = {
        {ImageBuilder(good).CountText("0;").Build(), ParseCode::NoDataSets, -1},
        {ImageBuilder(good).CountText("FA1").Build(), ParseCode::BadSetCount, -1},
        {ImageBuilder(good).CountText("-1").Build(), ParseCode::BadSetCount, -1},
        // The damaged record is the last one: the good sets before it are not kept either.
        {ImageBuilder(good).Add(noStart).Build(), ParseCode::DamagedRecord, 2},
        {ImageBuilder(good).Add(noEnd).Build(), ParseCode::DamagedRecord, 2},
        {ImageBuilder(good).EndAddress(319 + 0xFEFF - 1).Build(), ParseCode::DamagedRecord, 1},
        {good.Build().left(22), ParseCode::DamagedRecord, 0},
        {good.Build().left(256 + 15), ParseCode::DamagedRecord, 0},
    };
    const TDataSetStore earlier = Parsed(ImageBuilder().Add(kTypeKCelsius).Build());
    for (const Case& c : cases) {
        TDataSetStore store = earlier;
        const ParseOutcome outcome = ParseMemoryImage(c.image, store, Now());
        EXPECT_EQ(outcome.Code, c.code) << c.image.mid(10, 13).toStdString();
        EXPECT_EQ(outcome.ErrorSet, c.errorSet);
        EXPECT_EQ(store, earlier);
    }
}

TEST(ParseMemoryImage, AcceptsTheEdgesOfEachCheck) {
    TestSet oneMarkerEach = kTypeKCelsius, empty;
    oneMarkerEach.start = {0xA5, 0x00};
    oneMarkerEach.end = {0x00, 0xA5};
    // Ends exactly at the header's memory end; the count text skips blanks and stops at "Z".
    const TDataSetStore store = Parsed(ImageBuilder()
                                           .Add(empty)
                                           .Add(oneMarkerEach)
                                           .CountText(" 2Z")
                                           .EndAddress(303 + 0xFEFF)
                                           .Build());
    EXPECT_EQ(store.FirstBytes(), (std::vector<std::int32_t>{256, 256 + 18}));
    EXPECT_EQ(store.SetRange(1).First, 0);
    EXPECT_EQ(store.Values().size(), 6u);

    ImageBuilder full;
    for (int i = 0; i < 4000; ++i) full.Add(empty);
    EXPECT_EQ(Parsed(full.Build()).SetCount(), 4000);
}

TEST(ParseMemoryImage, ImpossibleStartTakesTheClockAndUnknownRateStepsTwoSeconds) {
    TestSet feb31 = kTypeKCelsius, hour24 = kTypeKCelsius, hexMonth = kTypeKCelsius;
    feb31.when = Stamp(24, 2, 31, 10, 0, 0);
    feb31.rateCode = 14;
    hour24.when = Stamp(24, 5, 17, 24, 0, 0);
    hexMonth.when[1] = 0x1A;  // reads as month 20
    const TDataSetStore store =
        Parsed(ImageBuilder().Add(feb31).Add(hour24).Add(hexMonth).Add(kTypeKCelsius).Build());
    EXPECT_EQ(store.StartTimes(),
              (std::vector{Now(), Now(), Now(), ToTDateTime(At(2024, 5, 17, 9, 59, 58))}));
    EXPECT_EQ(FromTDateTime(store.Times()[4]), At(2031, 1, 2, 3, 4, 9));
}

TEST(ParseMemoryImage, EveryPrefixOfAnImageParsesOrIsRefused) {
    ImageBuilder builder = ImageBuilder().Add(kTypeKCelsius).Add(kTypeJFahrenheit);
    const QByteArray image = builder.Build();
    const TDataSetStore full = Parsed(image);
    const TDataSetStore earlier = Parsed(ImageBuilder().Add(TestSet{}).Build());
    for (qsizetype length = 0; length <= image.size(); ++length) {
        // An exact-size copy, so that a read past the end is caught by the sanitizers.
        const std::vector<char> prefix(image.begin(), image.begin() + length);
        TDataSetStore store = earlier;
        const ParseCode code =
            ParseMemoryImage(QByteArrayView(prefix.data(), length), store, Now()).Code;
        const bool whole = length > builder.LastOffset();
        EXPECT_EQ(code, whole ? ParseCode::Success : ParseCode::DamagedRecord) << length;
        EXPECT_EQ(store, whole ? full : earlier) << length;
    }
}

TEST(RecoverSetsBeforeDamage, DecodesOnlyTheSetsBeforeTheDamagedRecord) {
    TestSet damaged = kTypeKCelsius;
    damaged.start = {0x00, 0x00};
    const QByteArray image =
        ImageBuilder().Add(kTypeKCelsius).Add(kTypeJFahrenheit).Add(damaged).Build();
    TDataSetStore store;
    const ParseOutcome failure = ParseMemoryImage(image, store, Now());
    EXPECT_EQ(failure.ErrorOffset, 319);
    EXPECT_EQ(RecoverSetsBeforeDamage(image, failure, store, Now()), 2);
    EXPECT_EQ(store, Parsed(ImageBuilder().Add(kTypeKCelsius).Add(kTypeJFahrenheit).Build()));

    const QByteArray firstDamaged = ImageBuilder().Add(damaged).Add(kTypeKCelsius).Build();
    const TDataSetStore before = store;
    EXPECT_EQ(RecoverSetsBeforeDamage(firstDamaged, ParseMemoryImage(firstDamaged, store, Now()),
                                      store, Now()),
              0);
    EXPECT_EQ(store, before);
}

}  // namespace
}  // namespace kr820::core
