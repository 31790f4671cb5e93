// SPDX-License-Identifier: MIT
#include "core/report/report_intake.h"

#include <cmath>
#include <limits>

#include "core/live/temperature_units.h"

namespace kr820::core {

ReportReading ReportReadingOf(const ReadingRow& row) {
    ReportReading reading;
    reading.TimeMs = row.Time * 1000;
    reading.Values = {row.T1, row.T2};
    reading.Unit = row.Unit == QStringLiteral("F") ? DisplayUnit::Fahrenheit : DisplayUnit::Celsius;
    return reading;
}

ReportIntake::ReportIntake(const ReportSettings& settings, qint64 chartFromMs, qint64 chartToMs,
                           bool withSetColumn, int chartColumns)
    : m_figures(settings), m_gapStepMs(GapStepMs(settings.IntervalMs)) {
    m_layout.WithSet = withSetColumn;
    m_hash.addData(HeaderLine(m_layout));
    m_chart.FromMs = chartFromMs;
    m_chart.ToMs = std::max(chartToMs, chartFromMs);
    const double none = std::numeric_limits<double>::quiet_NaN();
    for (auto& columns : m_chart.Columns)
        columns.assign(static_cast<std::size_t>(std::max(chartColumns, 1)), {none, none, false});
}

void ReportIntake::Add(const ReadingRow& row) { Add(ReportReadingOf(row), row); }

void ReportIntake::Add(const ReportReading& reading, const ReadingRow& row) {
    if (!m_figures.Add(reading)) return;
    m_hash.addData(RowLine(row, m_layout));
    const auto count = static_cast<qint64>(m_chart.Columns[0].size());
    const qint64 span = std::max<qint64>(m_chart.ToMs - m_chart.FromMs, 1);
    const qint64 column =
        std::clamp<qint64>((reading.TimeMs - m_chart.FromMs) * count / span, 0, count - 1);
    const bool missingBefore =
        m_lastMs && m_gapStepMs > 0 && reading.TimeMs - *m_lastMs > m_gapStepMs;
    m_lastMs = reading.TimeMs;
    for (int c = 0; c < 2; ++c) {
        ReportChart::Column& cell = m_chart.Columns[c][static_cast<std::size_t>(column)];
        if (missingBefore || !reading.Values[c]) cell.Broken = true;
        if (!reading.Values[c]) continue;
        const double value = ConvertDegrees(*reading.Values[c], reading.Unit, m_figures.Unit());
        if (std::isnan(cell.Low) || value < cell.Low) cell.Low = value;
        if (std::isnan(cell.High) || value > cell.High) cell.High = value;
    }
}

void ReportIntake::Finish(ReportDocument& document) {
    document.Figures = m_figures.Finish();
    document.Sha256Hex = m_hash.result().toHex();
    document.Chart = m_chart;
}

void ReportRows(const std::vector<ReadingRow>& rows, const ReportSettings& settings,
                bool withSetColumn, ReportDocument& document) {
    std::optional<qint64> fromMs;
    qint64 toMs = 0;
    for (const ReadingRow& row : rows) {
        const qint64 ms = row.Time * 1000;
        if ((settings.FromMs && ms < *settings.FromMs) || (settings.ToMs && ms > *settings.ToMs))
            continue;
        if (!fromMs) fromMs = ms;
        toMs = std::max(toMs, ms);
    }
    ReportIntake intake(settings, fromMs.value_or(0), fromMs ? toMs : 0, withSetColumn);
    for (const ReadingRow& row : rows) intake.Add(row);
    intake.Finish(document);
}

}  // namespace kr820::core
