// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>

class QCustomPlot;
class QPaintDevice;

namespace kr820::graph {
struct ShownStatistics;
}

namespace kr820::print {

enum class ExportKind { Pdf, Png };

// By the file's extension, in any case; none for another one.
std::optional<ExportKind> ExportKindOf(const QString& path);

// The lines above an exported PDF chart: the window's caption, its identification line
// (IdentificationLine), then its statistics as its boxes show them.
QStringList ExportHeaderLines(const QString& caption, const QString& identification,
                              const graph::ShownStatistics& statistics);

// A one-page PDF document: the header lines, and the plot below them as it is on screen. The
// page is as big as the plot (wider when a header line needs it). `title` names the document.
QByteArray ChartPdf(QCustomPlot& plot, const QStringList& header, const QString& title);

// The plot as it is on screen, as a PNG image of the plot's size. Empty when it cannot be made.
QByteArray ChartPng(QCustomPlot& plot);

}  // namespace kr820::print
