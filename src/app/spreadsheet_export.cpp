// SPDX-License-Identifier: MIT
#include "app/spreadsheet_export.h"

#include <QFileInfo>

#include "app/file_commands.h"
#include "core/chart/chart_model.h"
#include "core/files/export_rows.h"
#include "core/files/save_file.h"
#include "core/settings/program_folder.h"
#include "graph/frm_graph.h"
#include "ui/prompter.h"

namespace kr820::app {

bool ExportForSpreadsheets(graph::TfrmGraph* window, ui::Prompter& prompter, QWidget* owner) {
    if (!window) return false;
    const std::vector<core::ReadingRow> rows = core::RowsOfChart(window->Chart().Data());
    if (rows.empty()) {
        prompter.Message(owner, kNothingToExportMessage);
        return false;
    }
    QString selected = kSpreadsheetFilter;
    QString path =
        prompter.SaveFileName(owner, core::ProgramFolder(), kSpreadsheetFilter, "csv", &selected);
    if (path.isEmpty()) return false;
    if (QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    const core::WriteOutcome written = core::WriteFileAtomically(
        path, core::RowsText(rows, core::RowLayout{core::RowFormat::Csv, false, {}}));
    if (!written.Written()) prompter.Message(owner, WriteFailureMessage(path, written));
    return written.Written();
}

}  // namespace kr820::app
