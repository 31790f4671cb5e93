// SPDX-License-Identifier: MIT
#include "app/spreadsheet_export.h"

#include <QFileInfo>

#include "app/command_lock.h"
#include "app/file_commands.h"
#include "core/chart/chart_model.h"
#include "core/files/export_rows.h"
#include "core/files/save_file.h"
#include "core/settings/program_folder.h"
#include "graph/frm_graph.h"
#include "store/store_exports.h"
#include "store/stored_recording.h"
#include "ui/prompter.h"

namespace kr820::app {

namespace {

// The file to write, ".csv" added when no suffix was typed; empty when cancelled.
QString AskSpreadsheetPath(ui::Prompter& prompter, QWidget* owner) {
    QString selected = kSpreadsheetFilter;
    QString path = prompter.SaveFileName(owner, core::FileDialogFolder(), kSpreadsheetFilter, "csv",
                                         &selected);
    core::RememberFileDialogFolder(path);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) path += QStringLiteral(".csv");
    return path;
}

// A recording in its store, streamed from it a block at a time.
bool ExportRecording(graph::TfrmGraph& window, ui::Prompter& prompter, QWidget* owner) {
    store::StoredRecording& recording = *window.Recording();
    if (recording.Count() == 0) {
        prompter.Message(owner, kNothingToExportMessage);
        return false;
    }
    const QString path = AskSpreadsheetPath(prompter, owner);
    if (path.isEmpty()) return false;
    const CloseRefusal keepOpen(&window);
    const core::WriteOutcome written = store::WriteStoreRows(
        recording.Reader(), path, core::RowLayout{core::RowFormat::Csv, false, {}});
    if (!written.Written()) prompter.Message(owner, WriteFailureMessage(path, written));
    return written.Written();
}

}  // namespace

std::vector<core::ReadingRow> WindowRows(graph::TfrmGraph& window) {
    if (window.IsDataLogger() && window.ShownSet())
        return core::RowsOfSet(window.Store(), *window.ShownSet());
    return core::RowsOfChart(window.Chart().Data(), window.Unit());
}

bool ExportForSpreadsheets(graph::TfrmGraph* window, ui::Prompter& prompter, QWidget* owner) {
    if (!window) return false;
    if (window->Recording()) return ExportRecording(*window, prompter, owner);
    const std::vector<core::ReadingRow> rows = WindowRows(*window);
    if (rows.empty()) {
        prompter.Message(owner, kNothingToExportMessage);
        return false;
    }
    const QString path = AskSpreadsheetPath(prompter, owner);
    if (path.isEmpty()) return false;
    const core::WriteOutcome written = core::WriteFileAtomically(
        path, core::RowsText(rows, core::RowLayout{core::RowFormat::Csv, false, {}}));
    if (!written.Written()) prompter.Message(owner, WriteFailureMessage(path, written));
    return written.Written();
}

}  // namespace kr820::app
