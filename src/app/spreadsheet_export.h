// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <vector>

#include "core/files/reading_rows.h"

class QWidget;

namespace kr820::graph {
class TfrmGraph;
}
namespace kr820::ui {
class Prompter;
}

namespace kr820::app {

// File > "Export for Spreadsheets...": the window's T1 and T2 as CSV with a header row, ISO 8601
// times and a decimal point whatever the regional settings, in the rows kr820-cli export writes.
// Asks for the file; the file appears only once complete. True when a file was written.
bool ExportForSpreadsheets(graph::TfrmGraph* window, ui::Prompter& prompter, QWidget* owner);
// The rows of a window that shows no recording: a downloaded set as kr820-cli exports it, from
// its start in steps of real time with its unit; any other from its chart's points.
std::vector<core::ReadingRow> WindowRows(graph::TfrmGraph& window);

inline const QString kExportForSpreadsheetsText = QStringLiteral("Export for Spreadsheets...");
inline const QString kSpreadsheetFilter = QStringLiteral("CSV for spreadsheets (*.csv)");
inline const QString kNothingToExportMessage =
    QStringLiteral("The active window holds no data to export.");

}  // namespace kr820::app
