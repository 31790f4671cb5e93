// SPDX-License-Identifier: MIT
#include "app/export_graph_command.h"

#include <QDir>
#include <QFileInfo>

#include "app/file_commands.h"
#include "core/files/save_file.h"
#include "core/settings/program_folder.h"
#include "graph/chart_view.h"
#include "graph/frm_graph.h"
#include "print/graph_export.h"
#include "print/graph_identity.h"
#include "ui/file_dialog_filters.h"
#include "ui/prompter.h"

namespace kr820::app {

namespace {

// The dialog starts where the program's other file dialogs start, with the window's name
// offered, without an extension: the type picked in the dialog adds its own.
QString OfferedPath(const graph::TfrmGraph& window) {
    return QDir(core::FileDialogFolder())
        .filePath(QFileInfo(window.windowTitle()).completeBaseName());
}

}  // namespace

bool ExportGraph(QWidget& owner, ui::Prompter& prompter, graph::TfrmGraph& window) {
    QString selected = kExportPdfFilter;
    QString path = prompter.SaveFileName(&owner, OfferedPath(window),
                                         kExportPdfFilter + QStringLiteral(";;") + kExportPngFilter,
                                         QStringLiteral("pdf"), &selected);
    if (path.isEmpty()) return false;
    core::RememberFileDialogFolder(path);
    if (!print::ExportKindOf(path)) {
        const QString suffix = ui::SuffixOfNameFilter(selected);
        path += QLatin1Char('.') + (suffix.isEmpty() ? QStringLiteral("pdf") : suffix);
    }

    graph::ChartView& view = window.View();
    view.Flush();  // the picture as the chart's settings now are
    const QByteArray bytes =
        print::ExportKindOf(path) == print::ExportKind::Png
            ? print::ChartPng(view)
            : print::ChartPdf(view,
                              print::ExportHeaderLines(
                                  window.windowTitle(),
                                  print::IdentificationLine(window, QDateTime::currentDateTime()),
                                  window.StatisticsShown()),
                              window.windowTitle());
    if (bytes.isEmpty()) {
        prompter.Message(&owner, kCannotDrawExportMessage.arg(path));
        return false;
    }
    const core::WriteOutcome outcome = core::WriteFileAtomically(path, bytes);
    if (!outcome.Written()) prompter.Message(&owner, WriteFailureMessage(path, outcome));
    return outcome.Written();
}

}  // namespace kr820::app
