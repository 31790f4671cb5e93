// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>
#include <vector>

#include "core/files/reading_rows.h"

namespace kr820::core {

// The rows this program writes for spreadsheets and scripts, read back: a file whose first line
// is one of the header rows HeaderLine gives for CSV or TSV (with or without the set column) is
// read by its columns, the time with its offset, so that what was exported reads back exactly.
bool IsSpreadsheetHeader(QByteArrayView firstLine);
// Whether the file at `path` begins with such a header row.
bool IsSpreadsheetFile(const QString& path);

enum class SpreadsheetReadStatus { Read, CannotOpen, NoRows };

struct SpreadsheetReadOutcome {
    SpreadsheetReadStatus Status = SpreadsheetReadStatus::Read;
    std::vector<ReadingRow> Rows;  // in file order; Set is 0 without a set column
    bool WithSet = false;
    // The system's reason for CannotOpen; for NoRows, why nothing was read: the first line that
    // did not read, described.
    QString Problem;
    // Lines after the header that did not read and were left out, and the first of them
    // described (for Read).
    int SkippedLines = 0;
    QString FirstSkipped;
};

// Reads at most ChartData::kMaxPoints rows; a line that does not read is left out, and a file of
// which none reads is refused.
SpreadsheetReadOutcome ReadSpreadsheetRows(const QString& path);

// `line N, "its text"`, the text cut short and its control characters shown as '?', for messages.
QString DescribedLine(qsizetype number, QByteArrayView line);

}  // namespace kr820::core
