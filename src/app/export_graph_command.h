// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

namespace kr820::graph {
class TfrmGraph;
}
namespace kr820::ui {
class Prompter;
}

namespace kr820::app {

// File > Export Graph...: the chart of `window` as a PDF page under the window's statistics, or
// as a PNG image of the chart's size, by the type chosen in the save dialog (a name typed with
// ".pdf" or ".png" keeps its own). The file is replaced only once it is whole; a failure is told
// with the file's name and the reason. True when the file was written.
bool ExportGraph(QWidget& owner, ui::Prompter& prompter, graph::TfrmGraph& window);

inline const QString kExportPdfFilter = QStringLiteral("PDF document (*.pdf)");
inline const QString kExportPngFilter = QStringLiteral("PNG image (*.png)");
inline const QString kCannotDrawExportMessage =
    QStringLiteral("The graph could not be drawn for \"%1\"; no file was written.");

}  // namespace kr820::app
