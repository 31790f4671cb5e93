// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

class QMdiArea;
class QPrinter;
class QWidget;

namespace kr820::ui {
class Prompter;
}
namespace kr820::graph {
class ChartView;
class TfrmGraph;
}  // namespace kr820::graph

namespace kr820::print {

// The graph window a workspace command acts on: the current child window if it is a graph
// window, else the first graph window from the back of the stacking order; none without one.
graph::TfrmGraph* GraphWindowToPrint(const QMdiArea& workspace);

// The Print and Printer Setup commands. One printer serves them all, so that what the user
// chose in one dialog (printer, paper, margins) stays for the next print.
class PrintCommands {
public:
    PrintCommands(QWidget& owner, ui::Prompter& prompter);
    ~PrintCommands();
    PrintCommands(const PrintCommands&) = delete;
    PrintCommands& operator=(const PrintCommands&) = delete;

    // Asks what to print of `window` (Print Option) and prints it.
    void btnPrintClick(graph::TfrmGraph& window);
    // The chart's settings dialog with the pages that matter on paper, then the chart's print
    // dialog, which prints the chart scaled to the page.
    void PrintGraph(graph::TfrmGraph& window);
    // The platform print dialog, then the window's point list as text pages.
    void PrintText(graph::TfrmGraph& window);
    void PrinterSetup1Click();

    QPrinter& Printer() { return *m_printer; }

private:
    // `header`: the window's caption (also the document's name) and its identification line.
    void PrintChartThroughDialog(graph::ChartView& view, const QStringList& header);

    QWidget& m_owner;
    ui::Prompter& m_prompter;
    std::unique_ptr<QPrinter> m_printer;
};

// Texts of the messages for a print that did not come out; %1 names the printer or the file.
inline const QString kCannotPrintMessage =
    QStringLiteral("Cannot print to \"%1\": the printer or the file could not be opened.");
inline const QString kPrintInterruptedMessage =
    QStringLiteral("Printing to \"%1\" stopped before its end: the printer did not take a page.");

}  // namespace kr820::print
