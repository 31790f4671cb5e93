// SPDX-License-Identifier: MIT
#include "core/report/report_figures.h"

#include <cmath>

#include "core/live/temperature_units.h"

namespace kr820::core {
namespace {

// Limits are compared in tenths, the resolution the meter shows, as the alarms compare them: a
// stored 85.1 must not fall below a limit of 85.1 by its binary rounding.
qint64 Tenths(double degrees) { return std::llround(degrees * 10.0); }

// The run `run` grown by one reading past its limit.
void Extend(std::optional<Excursion>& run, double value, qint64 timeMs, qint64 weightMs,
            bool high) {
    if (!run) run = Excursion{timeMs, 0, 0, value};
    run->DurationMs += weightMs;
    ++run->Readings;
    run->Extreme = high ? std::max(run->Extreme, value) : std::min(run->Extreme, value);
}

void Close(std::optional<Excursion>& run, std::optional<LimitFigures>& figures) {
    if (!run) return;
    if (figures) {
        ++figures->Excursions;
        if (!figures->First) figures->First = run;
        if (!figures->Longest || run->DurationMs > figures->Longest->DurationMs)
            figures->Longest = run;
    }
    run.reset();
}

}  // namespace

ReportAccumulator::ReportAccumulator(const ReportSettings& settings) : m_settings(settings) {
    m_figures.ActivationEnergyKjPerMol = settings.ActivationEnergyKjPerMol;
    m_figures.IntervalMs = std::max<qint64>(settings.IntervalMs, 0);
    m_figures.Reported = settings.Channels;
    for (int c = 0; c < 2; ++c) {
        const ReportLimits& limits = settings.Limits[c];
        ChannelFigures& figures = m_figures.Channels[c];
        if (limits.High) figures.High.emplace().Limit = *limits.High;
        if (limits.Low) figures.Low.emplace().Limit = *limits.Low;
        if (settings.Lethality) figures.Lethality.emplace().Parameters = *settings.Lethality;
    }
}

bool ReportAccumulator::Add(const ReportReading& given) {
    if (m_settings.FromMs && given.TimeMs < *m_settings.FromMs) return false;
    if (m_settings.ToMs && given.TimeMs > *m_settings.ToMs) return false;
    if (!m_figures.FirstMs) {
        m_figures.Unit = given.Unit;
        m_figures.FirstMs = given.TimeMs;
        if (m_settings.Lethality) {
            m_referenceInUnit = ConvertDegrees(m_settings.Lethality->ReferenceCelsius,
                                                   DisplayUnit::Celsius, given.Unit);
            m_zInUnit =
                ConvertDifference(m_settings.Lethality->ZCelsius, DisplayUnit::Celsius, given.Unit);
        }
    }
    // Every value in the report's unit from here on.
    ReportReading reading = given;
    reading.Unit = m_figures.Unit;
    for (int c = 0; c < 2; ++c) {
        if (reading.Values[c])
            reading.Values[c] = ConvertDegrees(*given.Values[c], given.Unit, m_figures.Unit);
    }
    if (m_pending) Settle(*m_pending, reading.TimeMs);
    m_pending = reading;
    m_figures.LastMs = reading.TimeMs;
    ++m_figures.Readings;
    return true;
}

void ReportAccumulator::Settle(const ReportReading& reading, std::optional<qint64> nextMs) {
    qint64& interval = m_figures.IntervalMs;
    const qint64 step = nextMs ? *nextMs - reading.TimeMs : 0;
    if (interval == 0 && step > 0) interval = step;
    qint64 weight = interval;
    qint64 missingMs = 0;
    if (nextMs && step >= 0) {
        if (interval > 0 && step > GapStepMs(interval))
            missingMs = step - interval;
        else
            weight = step;
        if (missingMs == 0 && step != interval) m_figures.UnequalIntervals = true;
    }
    for (int c = 0; c < 2; ++c) {
        if (!m_settings.Channels[c]) continue;
        if (reading.Values[c]) {
            TakeValue(c, *reading.Values[c], reading.TimeMs, weight);
        } else {
            ++m_figures.Channels[c].Invalid;
            StartGap(c, weight);
        }
        if (missingMs > 0) StartGap(c, missingMs);
    }
}

void ReportAccumulator::StartGap(int channel, qint64 gapMs) {
    ChannelSums& sums = m_sums[channel];
    ChannelFigures& figures = m_figures.Channels[channel];
    if (!sums.InGap) ++figures.Gaps;
    sums.InGap = true;
    figures.GapMs += gapMs;
    EndRuns(channel);
}

void ReportAccumulator::EndRuns(int channel) {
    ChannelFigures& figures = m_figures.Channels[channel];
    Close(m_sums[channel].HighRun, figures.High);
    Close(m_sums[channel].LowRun, figures.Low);
}

void ReportAccumulator::TakeValue(int channel, double value, qint64 timeMs, qint64 weightMs) {
    ChannelSums& sums = m_sums[channel];
    ChannelFigures& figures = m_figures.Channels[channel];
    sums.InGap = false;
    ++figures.Readings;
    if (!figures.FirstMs) figures.FirstMs = timeMs;
    figures.LastMs = timeMs;
    if (!figures.Minimum || value < *figures.Minimum) {
        figures.Minimum = value;
        figures.MinimumAtMs = timeMs;
    }
    if (!figures.Maximum || value > *figures.Maximum) {
        figures.Maximum = value;
        figures.MaximumAtMs = timeMs;
    }
    const double difference = value - sums.Mean;
    sums.Mean += difference / figures.Readings;
    sums.SquaredDifferences += difference * (value - sums.Mean);

    const double energy = m_settings.ActivationEnergyKjPerMol * 1000.0 / kGasConstantJPerMolK;
    const double factor = std::exp(-energy / KelvinOf(value, m_figures.Unit));
    sums.KineticSum += static_cast<double>(weightMs) * factor;
    sums.KineticWeight += static_cast<double>(weightMs);
    sums.PlainKineticSum += factor;

    if (figures.High && Tenths(value) > Tenths(figures.High->Limit)) {
        Extend(sums.HighRun, value, timeMs, weightMs, true);
        figures.High->TimePastMs += weightMs;
    } else {
        Close(sums.HighRun, figures.High);
    }
    if (figures.Low && Tenths(value) < Tenths(figures.Low->Limit)) {
        Extend(sums.LowRun, value, timeMs, weightMs, false);
        figures.Low->TimePastMs += weightMs;
    } else {
        Close(sums.LowRun, figures.Low);
    }
    if (figures.Lethality && m_referenceInUnit && m_zInUnit > 0) {
        const double minutes = static_cast<double>(weightMs) / 60000.0;
        figures.Lethality->Minutes +=
            minutes * std::pow(10.0, (value - *m_referenceInUnit) / m_zInUnit);
        if (Tenths(value) >= Tenths(*m_referenceInUnit)) figures.Lethality->AtOrAboveMs += weightMs;
    }
}

ReportFigures ReportAccumulator::Finish() {
    if (m_pending) Settle(*m_pending, std::nullopt);
    m_pending.reset();
    const double energy = m_settings.ActivationEnergyKjPerMol * 1000.0 / kGasConstantJPerMolK;
    for (int c = 0; c < 2; ++c) {
        EndRuns(c);
        ChannelFigures& figures = m_figures.Channels[c];
        const ChannelSums& sums = m_sums[c];
        if (figures.Readings == 0) continue;
        figures.Mean = sums.Mean;
        figures.StandardDeviation = std::sqrt(sums.SquaredDifferences / figures.Readings);
        const double average = sums.KineticWeight > 0 ? sums.KineticSum / sums.KineticWeight
                                                      : sums.PlainKineticSum / figures.Readings;
        const double kelvin = energy / -std::log(average);
        figures.MeanKinetic =
            ConvertDegrees(kelvin - 273.15, DisplayUnit::Celsius, m_figures.Unit);
    }
    return m_figures;
}

}  // namespace kr820::core
