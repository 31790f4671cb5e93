// SPDX-License-Identifier: MIT
// The report's figures against values worked out from their formulas, not from the code.
#include "core/report/report_figures.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>
#include <vector>

#include "core/report/report_document.h"
#include "core/report/report_intake.h"

namespace kr820::core {
namespace {

constexpr qint64 kMinute = 60'000;
constexpr double kEnergyOverR = 83144.0 / 8.3144598;  // kelvin

// MKT in °C of Celsius values held for the given times, straight from its formula.
double MktOf(const std::vector<double>& celsius, const std::vector<double>& weights) {
    double sum = 0;
    double weight = 0;
    for (std::size_t i = 0; i < celsius.size(); ++i) {
        sum += weights[i] * std::exp(-kEnergyOverR / (celsius[i] + 273.15));
        weight += weights[i];
    }
    return kEnergyOverR / -std::log(sum / weight) - 273.15;
}

ReportReading At(qint64 ms, std::optional<double> t1, std::optional<double> t2 = std::nullopt,
                 DisplayUnit unit = DisplayUnit::Celsius) {
    return {ms, {t1, t2}, unit};
}

// T1 only, one reading a minute from 0.
ReportFigures Figures(const std::vector<std::optional<double>>& t1, ReportSettings settings = {}) {
    settings.IntervalMs = kMinute;
    ReportAccumulator accumulator(settings);
    for (std::size_t i = 0; i < t1.size(); ++i)
        accumulator.Add(At(static_cast<qint64>(i) * kMinute, t1[i]));
    return accumulator.Finish();
}

TEST(ReportFigures, MeanKineticTemperatureFollowsItsFormula) {
    // A constant temperature is its own MKT.
    const ReportFigures constant = Figures({25.0, 25.0, 25.0, 25.0});
    EXPECT_NEAR(*constant.Channels[0].MeanKinetic, 25.0, 1e-9);

    // Two levels: above the arithmetic mean, by the formula (about 25.33 °C for 20 and 30).
    const ReportFigures twoLevels = Figures({20.0, 20.0, 30.0, 30.0});
    const double expected = MktOf({20, 30}, {1, 1});
    EXPECT_NEAR(*twoLevels.Channels[0].MeanKinetic, expected, 1e-9);
    EXPECT_GT(*twoLevels.Channels[0].MeanKinetic, 25.2);
    EXPECT_DOUBLE_EQ(*twoLevels.Channels[0].Mean, 25.0);
    EXPECT_DOUBLE_EQ(*twoLevels.Channels[0].StandardDeviation, 5.0);

    // Another activation energy changes it as the formula says.
    ReportSettings settings;
    settings.ActivationEnergyKjPerMol = 100.0;
    const double energy = 100000.0 / 8.3144598;
    const double sum = std::exp(-energy / 293.15) + std::exp(-energy / 303.15);
    EXPECT_NEAR(*Figures({20.0, 30.0}, settings).Channels[0].MeanKinetic,
                energy / -std::log(sum / 2) - 273.15, 1e-9);
}

TEST(ReportFigures, UnequalIntervalsAreWeightedByTime) {
    ReportSettings settings;
    settings.IntervalMs = kMinute;
    ReportAccumulator accumulator(settings);
    // 20 °C held 30 s, then 30 °C for 60 s and 60 s, then 20 °C for the last interval.
    accumulator.Add(At(0, 20.0));
    accumulator.Add(At(30'000, 30.0));
    accumulator.Add(At(90'000, 30.0));
    accumulator.Add(At(150'000, 20.0));
    const ReportFigures figures = accumulator.Finish();
    EXPECT_TRUE(figures.UnequalIntervals);
    EXPECT_NEAR(*figures.Channels[0].MeanKinetic, MktOf({20, 30, 30, 20}, {30, 60, 60, 60}), 1e-9);
    EXPECT_GT(std::abs(*figures.Channels[0].MeanKinetic - MktOf({20, 30, 30, 20}, {1, 1, 1, 1})),
              0.1);
}

TEST(ReportFigures, ExtremesTakeTheirFirstTime) {
    const ReportFigures figures = Figures({4.0, 9.5, 2.0, 9.5, 2.0});
    EXPECT_EQ(*figures.Channels[0].Maximum, 9.5);
    EXPECT_EQ(figures.Channels[0].MaximumAtMs, 1 * kMinute);
    EXPECT_EQ(*figures.Channels[0].Minimum, 2.0);
    EXPECT_EQ(figures.Channels[0].MinimumAtMs, 2 * kMinute);
    EXPECT_EQ(*figures.FirstMs, 0);
    EXPECT_EQ(*figures.LastMs, 4 * kMinute);
    EXPECT_EQ(figures.Readings, 5);
    EXPECT_FALSE(figures.UnequalIntervals);
}

TEST(ReportFigures, ExcursionsAreRunsStrictlyPastTheLimit) {
    ReportSettings settings;
    settings.Limits[0] = {8.0, 2.0};
    // At 8.0 and 2.0 nothing is past; 8.1 (stored as a float) is.
    const ReportFigures figures = Figures(
        {5.0, static_cast<float>(8.1), 8.2, 5.0, 8.0, 9.0, 9.5, 9.0, 5.0, 2.0, 1.9, 5.0}, settings);
    const LimitFigures& high = *figures.Channels[0].High;
    EXPECT_EQ(high.Excursions, 2);
    EXPECT_EQ(high.TimePastMs, 5 * kMinute);
    EXPECT_EQ(high.First->StartMs, 1 * kMinute);
    EXPECT_EQ(high.First->DurationMs, 2 * kMinute);
    EXPECT_EQ(high.Longest->StartMs, 5 * kMinute);
    EXPECT_EQ(high.Longest->DurationMs, 3 * kMinute);
    EXPECT_EQ(high.Longest->Readings, 3);
    EXPECT_EQ(high.Longest->Extreme, 9.5);
    const LimitFigures& low = *figures.Channels[0].Low;
    EXPECT_EQ(low.Excursions, 1);
    EXPECT_EQ(low.TimePastMs, kMinute);
    EXPECT_EQ(low.First->StartMs, 10 * kMinute);
    EXPECT_FALSE(figures.Channels[1].High.has_value());
}

TEST(ReportFigures, GapsAreLeftOutNeverReadAsZero) {
    ReportSettings settings;
    settings.Limits[0].High = 8.0;
    settings.IntervalMs = kMinute;
    ReportAccumulator accumulator(settings);
    accumulator.Add(At(0, 10.0, 3.0));
    accumulator.Add(At(kMinute, std::nullopt, 3.0));  // T1 without a value
    accumulator.Add(At(2 * kMinute, std::nullopt, 3.0));
    accumulator.Add(At(3 * kMinute, 10.0, 3.0));
    // Readings missing: the next comes ten minutes later.
    accumulator.Add(At(13 * kMinute, 10.0, 3.0));
    const ReportFigures figures = accumulator.Finish();
    const ChannelFigures& t1 = figures.Channels[0];
    EXPECT_EQ(t1.Readings, 3);
    EXPECT_EQ(t1.Invalid, 2);
    EXPECT_EQ(t1.Gaps, 2);
    EXPECT_EQ(t1.GapMs, 2 * kMinute + 9 * kMinute);
    EXPECT_EQ(*t1.Minimum, 10.0);
    EXPECT_DOUBLE_EQ(*t1.Mean, 10.0);
    EXPECT_NEAR(*t1.MeanKinetic, 10.0, 1e-9);
    // Each gap ends an excursion; only the time of readings past the limit counts.
    EXPECT_EQ(t1.High->Excursions, 3);
    EXPECT_EQ(t1.High->TimePastMs, 3 * kMinute);
    const ChannelFigures& t2 = figures.Channels[1];
    EXPECT_EQ(t2.Readings, 5);
    EXPECT_EQ(t2.Gaps, 1);
    EXPECT_EQ(t2.GapMs, 9 * kMinute);
}

TEST(ReportFigures, LethalityFollowsItsFormula) {
    // 10 °C above Tref for one minute: ten minutes at Tref.
    ReportSettings settings;
    settings.Lethality = kF0Lethality;
    settings.IntervalMs = 1000;
    ReportAccumulator accumulator(settings);
    for (int s = 0; s < 60; ++s) accumulator.Add(At(s * 1000, 131.1, 121.1));
    const ReportFigures figures = accumulator.Finish();
    EXPECT_NEAR(figures.Channels[0].Lethality->Minutes, 10.0, 1e-9);
    EXPECT_NEAR(figures.Channels[1].Lethality->Minutes, 1.0, 1e-9);
    EXPECT_EQ(figures.Channels[1].Lethality->AtOrAboveMs, 60'000);

    // Pasteurization units, in Fahrenheit readings: 67 °C (152.6 °F) for 2 minutes is 2 * 10^1.
    settings.Lethality = kPasteurizationUnits;
    settings.IntervalMs = kMinute;
    ReportAccumulator fahrenheit(settings);
    fahrenheit.Add(At(0, 152.6, 140.0, DisplayUnit::Fahrenheit));
    fahrenheit.Add(At(kMinute, 152.6, 139.9, DisplayUnit::Fahrenheit));
    const ReportFigures pu = fahrenheit.Finish();
    EXPECT_NEAR(pu.Channels[0].Lethality->Minutes, 20.0, 1e-9);
    EXPECT_EQ(pu.Channels[1].Lethality->AtOrAboveMs, kMinute);
    EXPECT_EQ(pu.Unit, DisplayUnit::Fahrenheit);
}

TEST(ReportFigures, OneUnitAndOneRange) {
    ReportSettings settings;
    settings.IntervalMs = kMinute;
    settings.FromMs = kMinute;
    settings.ToMs = 3 * kMinute;
    ReportAccumulator accumulator(settings);
    EXPECT_FALSE(accumulator.Add(At(0, 99.0)));
    EXPECT_TRUE(accumulator.Add(At(kMinute, 25.0)));
    // A later reading in the other unit is converted to the first's.
    EXPECT_TRUE(accumulator.Add(At(2 * kMinute, 77.0, std::nullopt, DisplayUnit::Fahrenheit)));
    EXPECT_TRUE(accumulator.Add(At(3 * kMinute, 25.0)));
    EXPECT_FALSE(accumulator.Add(At(4 * kMinute, 99.0)));
    const ReportFigures figures = accumulator.Finish();
    EXPECT_EQ(figures.Readings, 3);
    EXPECT_EQ(figures.Unit, DisplayUnit::Celsius);
    EXPECT_NEAR(*figures.Channels[0].Maximum, 25.0, 1e-9);
    EXPECT_NEAR(*figures.Channels[0].MeanKinetic, 25.0, 1e-9);
}

TEST(ReportJson, NumbersAsNumbersAndTimesInIso8601) {
    ReportSettings settings;
    settings.Limits[0].High = 8.0;
    settings.Lethality = kF0Lethality;
    settings.Channels = {true, false};
    ReportIntake intake(settings, 0, 120'000);
    for (int i = 0; i < 3; ++i) {
        ReadingRow row;
        row.Time = 1'780'000'000 + i * 60;
        row.T1 = 7.0 + i;
        row.Unit = QStringLiteral("C");
        intake.Add(row);
    }
    ReportDocument document;
    document.Heading = QStringLiteral("Lab 3, batch 42");
    document.Source = QStringLiteral("trip.820, set 1");
    intake.Finish(document);
    const QJsonObject root = QJsonDocument::fromJson(ReportJson(document)).object();
    EXPECT_EQ(root[QStringLiteral("heading")].toString(), QStringLiteral("Lab 3, batch 42"));
    EXPECT_EQ(root[QStringLiteral("readings")].toInt(), 3);
    EXPECT_EQ(root[QStringLiteral("interval_s")].toDouble(), 60.0);
    EXPECT_EQ(root[QStringLiteral("unit")].toString(), QStringLiteral("C"));
    EXPECT_EQ(root[QStringLiteral("mkt_activation_energy_kj_per_mol")].toDouble(), 83.144);
    EXPECT_EQ(root[QStringLiteral("sha256")].toString().size(), 64);
    const QJsonArray channels = root[QStringLiteral("channels")].toArray();
    ASSERT_EQ(channels.size(), 1);
    const QJsonObject t1 = channels[0].toObject();
    EXPECT_EQ(t1[QStringLiteral("channel")].toString(), QStringLiteral("t1"));
    EXPECT_TRUE(t1[QStringLiteral("max")].isDouble());
    EXPECT_EQ(t1[QStringLiteral("max")].toDouble(), 9.0);
    EXPECT_EQ(t1[QStringLiteral("mean")].toDouble(), 8.0);
    const QRegularExpression iso(
        QStringLiteral("^\\d{4}-\\d\\d-\\d\\dT\\d\\d:\\d\\d:\\d\\d([+-]\\d\\d:\\d\\d|Z)$"));
    EXPECT_TRUE(iso.match(t1[QStringLiteral("max_at")].toString()).hasMatch())
        << t1[QStringLiteral("max_at")].toString().toStdString();
    EXPECT_TRUE(iso.match(root[QStringLiteral("start")].toString()).hasMatch());
    const QJsonObject high = t1[QStringLiteral("high")].toObject();
    EXPECT_EQ(high[QStringLiteral("excursions")].toInt(), 1);
    EXPECT_EQ(high[QStringLiteral("time_past_s")].toDouble(), 60.0);
    EXPECT_TRUE(t1[QStringLiteral("low")].isNull());
    EXPECT_TRUE(t1[QStringLiteral("lethality")].toObject()[QStringLiteral("f_min")].isDouble());
}

TEST(ReportIntake, HashesTheRowsExportWritesForTheRangeOnly) {
    ReportSettings settings;
    settings.FromMs = 1'780'000'060'000;
    std::vector<ReadingRow> rows;
    for (int i = 0; i < 3; ++i) {
        ReadingRow row;
        row.Time = 1'780'000'000 + i * 60;
        row.T1 = 20.0 + i;
        row.Unit = QStringLiteral("C");
        rows.push_back(row);
    }
    ReportIntake intake(settings, 0, 1);
    for (const ReadingRow& row : rows) intake.Add(row);
    ReportDocument document;
    intake.Finish(document);
    const QByteArray expected = QCryptographicHash::hash(RowsText({rows[1], rows[2]}, RowLayout{}),
                                                         QCryptographicHash::Sha256)
                                    .toHex();
    EXPECT_EQ(document.Sha256Hex, expected);
}

}  // namespace
}  // namespace kr820::core
