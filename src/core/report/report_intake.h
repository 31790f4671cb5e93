// SPDX-License-Identifier: MIT
#pragma once

#include <QCryptographicHash>

#include "core/files/reading_rows.h"
#include "core/report/report_document.h"

namespace kr820::core {

// Takes a source's readings once, in time order, for everything a report is made of: the
// figures, the chart's columns over [chartFromMs, chartToMs], and the SHA-256 of the rows that
// `export` writes for the same readings (its CSV, header first, local times).
class ReportIntake {
public:
    ReportIntake(const ReportSettings& settings, qint64 chartFromMs, qint64 chartToMs,
                 bool withSetColumn = false, int chartColumns = 720);

    // A reading and the row that export writes for it; nothing is taken outside the range.
    void Add(const ReportReading& reading, const ReadingRow& row);
    // A file's row, its unit "F" or else Celsius.
    void Add(const ReadingRow& row);

    // Fills the document's figures, chart and hash.
    void Finish(ReportDocument& document);

private:
    ReportAccumulator m_figures;
    QCryptographicHash m_hash{QCryptographicHash::Sha256};
    RowLayout m_layout;
    ReportChart m_chart;
    qint64 m_gapStepMs = 0;  // 0: the interval is not known
    std::optional<qint64> m_lastMs;
};

// A row's reading as a report takes it.
ReportReading ReportReadingOf(const ReadingRow& row);

// The report of rows in time order (a file's sets, a window's data set), whose rows export
// writes with a set column when `withSetColumn`; the chart spans the rows in the range.
void ReportRows(const std::vector<ReadingRow>& rows, const ReportSettings& settings,
                bool withSetColumn, ReportDocument& document);

}  // namespace kr820::core
