// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <array>
#include <optional>

#include "core/live/display_digits.h"
#include "core/report/report_settings.h"

namespace kr820::core {

// One reading as a report takes it: its instant, and each channel's value in `Unit` or none
// (out of range, no probe, not recorded).
struct ReportReading {
    qint64 TimeMs = 0;
    std::array<std::optional<double>, 2> Values;
    DisplayUnit Unit = DisplayUnit::Celsius;
};

// A run of consecutive readings past a limit.
struct Excursion {
    qint64 StartMs = 0;
    qint64 DurationMs = 0;  // the time its readings stand for
    int Readings = 0;
    double Extreme = 0;  // the farthest past the limit
};

struct LimitFigures {
    double Limit = 0;
    qint64 TimePastMs = 0;
    int Excursions = 0;
    std::optional<Excursion> First;
    std::optional<Excursion> Longest;  // the first of the longest
};

struct LethalityFigures {
    LethalityParameters Parameters;
    double Minutes = 0;      // F = sum of dt * 10^((T - Tref) / z), dt in minutes
    qint64 AtOrAboveMs = 0;  // time at or above the reference temperature
};

struct ChannelFigures {
    int Readings = 0;  // with a value
    int Invalid = 0;   // readings without a value
    int Gaps = 0;      // stretches without a value: invalid readings or readings missing
    qint64 GapMs = 0;
    std::optional<qint64> FirstMs;  // the first and last reading with a value
    std::optional<qint64> LastMs;
    std::optional<double> Minimum;
    qint64 MinimumAtMs = 0;  // the first time it occurs
    std::optional<double> Maximum;
    qint64 MaximumAtMs = 0;
    std::optional<double> Mean;
    std::optional<double> StandardDeviation;  // of the population of readings
    std::optional<double> MeanKinetic;        // weighted by the time each reading stands for
    std::optional<LimitFigures> High;
    std::optional<LimitFigures> Low;
    std::optional<LethalityFigures> Lethality;
};

struct ReportFigures {
    DisplayUnit Unit = DisplayUnit::Celsius;
    qint64 IntervalMs = 0;
    int Readings = 0;  // every reading in the range, with or without values
    std::optional<qint64> FirstMs;
    std::optional<qint64> LastMs;
    bool UnequalIntervals = false;  // some steps differ from the interval (and are weighted so)
    double ActivationEnergyKjPerMol = kDefaultActivationEnergyKjPerMol;
    std::array<bool, 2> Reported{true, true};
    std::array<ChannelFigures, 2> Channels;
};

// The report's figures in one pass over readings in time order, whatever their number: each
// reading is weighed by the time it stands for, from it to the next reading. A step longer than
// twice the interval is readings missing: the reading before it stands for one interval and the
// rest is a gap; so does the last reading. Readings without a value are counted and left out,
// and end an excursion. The first reading's unit is the report's; later ones are converted.
class ReportAccumulator {
public:
    explicit ReportAccumulator(const ReportSettings& settings);

    // False for a reading outside the settings' range (it is not taken).
    bool Add(const ReportReading& reading);
    ReportFigures Finish();
    // The report's unit: the first reading's.
    DisplayUnit Unit() const { return m_figures.Unit; }

private:
    // What a channel's figures are summed from, between readings.
    struct ChannelSums {
        double Mean = 0;  // running mean and sum of squared differences (Welford)
        double SquaredDifferences = 0;
        double KineticSum = 0;  // sum of w * exp(-dH / (R T)), and of w
        double KineticWeight = 0;
        double PlainKineticSum = 0;  // unweighted, for a lone reading that stands for no time
        bool InGap = false;
        std::optional<Excursion> HighRun;
        std::optional<Excursion> LowRun;
    };

    void Settle(const ReportReading& reading, std::optional<qint64> nextMs);
    void TakeValue(int channel, double value, qint64 timeMs, qint64 weightMs);
    void EndRuns(int channel);
    void StartGap(int channel, qint64 gapMs);

    ReportSettings m_settings;
    ReportFigures m_figures;
    std::optional<ReportReading> m_pending;
    std::array<ChannelSums, 2> m_sums;
    // In the report's unit, once the first reading has told it.
    std::optional<double> m_referenceInUnit;
    double m_zInUnit = 0;
};

// The step past which readings are missing, for an interval.
inline constexpr qint64 GapStepMs(qint64 intervalMs) { return 2 * intervalMs; }

}  // namespace kr820::core
