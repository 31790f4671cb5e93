// SPDX-License-Identifier: MIT
#include "core/chart/chart_block.h"

#include <gtest/gtest.h>

#include <QtEndian>
#include <cmath>
#include <limits>
#include <utility>
#include <vector>

namespace kr820::core {
namespace {

// Turns every settings field away from its default, so a field that did not survive the round
// trip shows up as a difference.
struct ChangeEveryField {
    void operator()(bool& v) const { v = !v; }
    void operator()(double& v) const { v = v * 2.0 + 1.5; }
    void operator()(qint32& v) const { v += 7; }
    void operator()(RgbColor& v) const { v ^= 0x123456; }
    void operator()(QString& v) const { v += QStringLiteral("\u00b0C changed"); }
    template <typename Code>
    requires std::is_enum_v<Code>
    void operator()(Code& v) const {
        const auto next = static_cast<int>(v) + 1;
        v = next > static_cast<int>(LastCodeOf(Code{})) ? Code{} : static_cast<Code>(next);
    }
    template <typename T>
    void operator()(IndexedProperty<T>& list) const {
        T value{};
        (*this)(value);
        list.Set(2, value);
    }
};

ChartState FilledState(int points) {
    ChartState state;
    state.Data.SetSubsets(2);
    state.Data.SetPoints(points);
    for (int p = 0; p < points; ++p) {
        state.Data.SetXDataII(0, p, 46000.0 + p / 86400.0);
        state.Data.SetXDataII(1, p, 46000.0 + p / 86400.0);
        state.Data.SetYData(0, p, p % 7 == 0 ? 9999.0f : 20.0f + 0.1f * p);
        state.Data.SetYData(1, p, -9999.0f + p);
    }
    VisitChartSettings(state.Settings, ChangeEveryField{});
    state.Settings.SubsetLabels.Set(0, QStringLiteral("UniqueLabel"));

    state.Axes.SetSplit(true);
    state.Axes.SetMultiAxesSeparators(AxisSeparator::sgThickLine);
    state.Axes.SetManualScaleControlX(ManualScale::sgManualMinAndMax);
    state.Axes.SetManualMinX(46000.0);
    state.Axes.SetManualMaxX(46000.5);
    for (int axis : {0, 1, 5}) {
        state.Axes.SetWorkingAxis(axis);
        state.Axes.SetManualScaleControlY(ManualScale::sgManualMinAndMax);
        state.Axes.SetManualMinY(-20.0 - axis);
        state.Axes.SetManualMaxY(100.0 + axis);
        state.Axes.SetYAxisLabel(QStringLiteral("T%1").arg(axis + 1));
    }
    state.Axes.SetWorkingAxis(1);

    *state.Annotations.EditGraphAnnotation(4) = {kAnnotationCross, 46000.1, 25.5, {}, 0xFFFFFF, 0};
    *state.Annotations.EditGraphAnnotation(6) = {kAnnotationText, 46000.2, 30.0, "boil", 0xFF, 1};
    *state.Annotations.EditVertLineAnnotation(1) = {46000.3, 2, 0xFF0000, "12:00:00 T1:21.4"};
    return state;
}

QByteArray WithI32At(QByteArray block, qsizetype offset, qint32 value) {
    qToLittleEndian(value, block.data() + offset);
    return block;
}

TEST(ChartBlock, RoundTripReproducesTheWholeChart) {
    const ChartState saved = FilledState(50);
    ASSERT_NE(saved.Settings, ChartSettings{});
    ChartState loaded;
    ASSERT_EQ(DecodeChartBlock(EncodeChartBlock(saved), loaded), ChartLoadResult::Loaded);
    EXPECT_EQ(loaded.Data, saved.Data);
    EXPECT_EQ(loaded.Settings, saved.Settings);
    EXPECT_EQ(loaded.Axes, saved.Axes);
    EXPECT_EQ(loaded.Annotations, saved.Annotations);
    EXPECT_EQ(loaded.Axes.WorkingAxis(), 1);
    EXPECT_TRUE(loaded.Axes.IsSplit());
    // Saving what was loaded gives the same bytes.
    EXPECT_EQ(EncodeChartBlock(loaded), EncodeChartBlock(saved));
}

TEST(ChartBlock, RoundTripOfEmptyCharts) {
    ChartState loaded = FilledState(3);
    ASSERT_EQ(DecodeChartBlock(EncodeChartBlock(ChartState{}), loaded), ChartLoadResult::Loaded);
    EXPECT_EQ(loaded, ChartState{});

    // Two subsets cut to no points (a recording stopped before its first sample).
    ChartState noPoints;
    noPoints.Data.SetSubsets(2);
    ASSERT_EQ(DecodeChartBlock(EncodeChartBlock(noPoints), loaded), ChartLoadResult::Loaded);
    EXPECT_EQ(loaded.Data, noPoints.Data);
}

TEST(ChartBlock, BeginsWithMagicAndVersionAndStoresNumbersLittleEndian) {
    ChartState state;
    state.Data.SetSubsets(2);
    state.Data.SetPoints(1);
    state.Data.SetXDataII(0, 0, 1.0);
    const QByteArray block = EncodeChartBlock(state);
    EXPECT_EQ(block.left(6), QByteArray("KRCH\x01\x00", 6));
    EXPECT_EQ(block.mid(6, 8), QByteArray("\x02\0\0\0\x01\0\0\0", 8));
    EXPECT_EQ(block.mid(14, 8), QByteArray("\0\0\0\0\0\0\xf0\x3f", 8));  // 1.0
}

TEST(ChartBlock, EveryTruncationIsRefusedAndLeavesTheTargetAlone) {
    const QByteArray block = EncodeChartBlock(FilledState(20));
    const ChartState untouched = FilledState(2);
    for (qsizetype length = 0; length < block.size(); ++length) {
        ChartState target = untouched;
        const ChartLoadResult result =
            DecodeChartBlock(QByteArrayView(block).first(length), target);
        EXPECT_NE(result, ChartLoadResult::Loaded) << "prefix of " << length << " bytes";
        EXPECT_EQ(target, untouched) << "prefix of " << length << " bytes";
    }
}

TEST(ChartBlock, RefusesAForeignOrNewerOrLongerBlock) {
    const QByteArray block = EncodeChartBlock(FilledState(5));
    ChartState target;
    QByteArray foreign = block;
    foreign[0] = 'X';
    EXPECT_EQ(DecodeChartBlock(foreign, target), ChartLoadResult::NotAChartBlock);
    QByteArray newer = block;
    newer[4] = 2;
    EXPECT_EQ(DecodeChartBlock(newer, target), ChartLoadResult::UnknownVersion);
    EXPECT_EQ(DecodeChartBlock(block + QByteArray(1, '\0'), target),
              ChartLoadResult::TrailingBytes);
    EXPECT_EQ(target, ChartState{});
}

TEST(ChartBlock, RefusesCountsTheBlockCannotHold) {
    constexpr qsizetype kSubsetsAt = 6;
    constexpr qsizetype kPointsAt = 10;
    ChartState state = FilledState(30);
    state.Annotations.ClearVertLineAnnotations();
    const QByteArray block = EncodeChartBlock(state);
    const qsizetype linesAt = block.size() - 4;  // the vertical line count comes last
    ASSERT_EQ(block.right(4), QByteArray(4, '\0'));
    const qsizetype labelLengthAt = block.indexOf("UniqueLabel") - 4;
    ChartState target;
    for (const auto& [at, count] : std::vector<std::pair<qsizetype, qint32>>{
             {kSubsetsAt, ChartData::kMaxSubsets + 1},
             {kSubsetsAt, -1},
             {kPointsAt, 29},
             {kPointsAt, 31},
             {kPointsAt, 0x7FFFFFFF},
             {linesAt, 1},
             {linesAt, -1},
             {linesAt, 0x7FFFFFFF},
             {labelLengthAt, -16},
         }) {
        EXPECT_NE(DecodeChartBlock(WithI32At(block, at, count), target), ChartLoadResult::Loaded)
            << count << " at " << at;
    }
    // Eight subsets of a million points, within the limits, claimed by a block of a few bytes.
    const QByteArray tiny = QByteArray("KRCH\x01\x00", 6) +
                            QByteArray("\x08\0\0\0\x40\x42\x0f\0", 8) + QByteArray(16, '\0');
    EXPECT_EQ(DecodeChartBlock(tiny, target), ChartLoadResult::BadSize);
    EXPECT_EQ(target, ChartState{});
}

TEST(ChartBlock, RefusesCodesAndFlagsNoChartHolds) {
    const ChartState state = FilledState(4);
    const QByteArray block = EncodeChartBlock(state);
    // The settings follow the points: null value, gap threshold, two flags, the date-time mode.
    const qsizetype settingsAt = 14 + 2 * 4 * (8 + 4);
    ASSERT_EQ(static_cast<quint8>(block[settingsAt + 16]), state.Settings.SubsetByPoint ? 1 : 0);
    ChartState target;
    QByteArray badFlag = block;
    badFlag[settingsAt + 16] = 2;
    EXPECT_EQ(DecodeChartBlock(badFlag, target), ChartLoadResult::BadValue);
    QByteArray badCode = block;
    badCode[settingsAt + 18] = static_cast<char>(0xEE);
    EXPECT_EQ(DecodeChartBlock(badCode, target), ChartLoadResult::BadValue);
    EXPECT_EQ(target, ChartState{});
}

TEST(ChartBlock, RefusesAnXThatIsNoDateTheProgramShows) {
    ChartState target;
    for (const double x : {std::nan(""), 1e300, -2.3e77, kLastShownDay + 1.0, kFirstShownDay - 1.0,
                           std::numeric_limits<double>::infinity()}) {
        ChartState state = FilledState(4);
        state.Data.SetXDataII(1, 2, x);
        EXPECT_EQ(DecodeChartBlock(EncodeChartBlock(state), target), ChartLoadResult::BadValue)
            << x;
        ChartState annotated = FilledState(4);
        annotated.Annotations.AddGraphAnnotation({.X = x, .Text = "a"});
        if (!std::isfinite(x)) {
            EXPECT_EQ(DecodeChartBlock(EncodeChartBlock(annotated), target),
                      ChartLoadResult::BadValue)
                << x;
        }
    }
    EXPECT_EQ(target, ChartState{});
    // The first and the last day shown, to their last second, still load.
    ChartState edges = FilledState(4);
    edges.Data.SetXDataII(0, 0, kFirstShownDay - 86399.0 / 86400.0);
    edges.Data.SetXDataII(0, 1, kLastShownDay + 86399.0 / 86400.0);
    EXPECT_EQ(DecodeChartBlock(EncodeChartBlock(edges), target), ChartLoadResult::Loaded);
}

TEST(DateTime, ValuesOutsideTheShownDatesConvertToAnInvalidDateTime) {
    EXPECT_FALSE(FromTDateTime(std::nan("")).isValid());
    EXPECT_FALSE(FromTDateTime(1e300).isValid());
    EXPECT_FALSE(FromTDateTime(-2.3e77).isValid());
    EXPECT_EQ(FromTDateTime(kFirstShownDay - 0.5), QDateTime(QDate(100, 1, 1), QTime(12, 0)));
    EXPECT_EQ(FromTDateTime(kLastShownDay + 0.5), QDateTime(QDate(9999, 12, 31), QTime(12, 0)));
}

}  // namespace
}  // namespace kr820::core
