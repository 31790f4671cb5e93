// SPDX-License-Identifier: MIT
#include "print/print_commands.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPrinter>

#include "core/chart/chart_model.h"
#include "graph/chart_view.h"
#include "graph/data_list_model.h"
#include "graph/frm_graph.h"
#include "graph/recording_list_model.h"
#include "print/chart_rendering.h"
#include "print/frm_print_option.h"
#include "print/graph_identity.h"
#include "print/text_printing.h"
#include "ui/prompter.h"

namespace kr820::print {
namespace {

// The point list's 8-point font keeps clear of the next line, 100 device units below, at up to
// 900 units to the inch; a common laser printer's resolution gives 12-point line spacing.
constexpr int kTextPrintDpi = 600;

graph::TfrmGraph* GraphWindowIn(const QMdiSubWindow* frame) {
    return frame ? qobject_cast<graph::TfrmGraph*>(frame->widget()) : nullptr;
}

QString Destination(const QPrinter& printer) {
    return printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
}

}  // namespace

graph::TfrmGraph* GraphWindowToPrint(const QMdiArea& workspace) {
    if (graph::TfrmGraph* current = GraphWindowIn(workspace.currentSubWindow())) return current;
    for (const QMdiSubWindow* frame : workspace.subWindowList(QMdiArea::StackingOrder)) {
        if (graph::TfrmGraph* window = GraphWindowIn(frame)) return window;
    }
    return nullptr;
}

PrintCommands::PrintCommands(QWidget& owner, ui::Prompter& prompter)
    : m_owner(owner), m_prompter(prompter), m_printer(std::make_unique<QPrinter>()) {}

PrintCommands::~PrintCommands() = default;

void PrintCommands::btnPrintClick(graph::TfrmGraph& window) {
    int choice = TfrmPrintOption::Cancel;
    {
        TfrmPrintOption option(&m_owner);
        choice = m_prompter.Exec(option);
    }
    switch (choice) {
        case TfrmPrintOption::PrintGraph:
            PrintGraph(window);
            break;
        case TfrmPrintOption::PrintText:
            PrintText(window);
            break;
        default:
            break;
    }
}

void PrintCommands::PrintGraph(graph::TfrmGraph& window) {
    const QPointer<graph::TfrmGraph> alive(&window);
    core::ChartModel& chart = window.Chart();
    core::ChartSettings& settings = chart.Settings();
    // What is left to set before printing: titles, grid and the axes.
    settings.AllowFontPage = false;
    settings.AllowPage2 = false;
    settings.AllowSubsetsPage = false;
    chart.PEactions(core::ChartAction::sgCustomize);
    if (!alive) return;
    settings.AllowFontPage = true;
    settings.AllowPage1 = true;
    settings.AllowPage2 = true;
    settings.AllowSubsetsPage = true;

    // The chart's print dialog is this command's: it is answered while the command asks for it.
    graph::ChartView& view = window.View();
    const QString documentName = window.windowTitle();
    const QString identification = IdentificationLine(window, QDateTime::currentDateTime());
    const QMetaObject::Connection answer =
        QObject::connect(&view.Interaction(), &graph::ChartInteraction::printDialogRequested, &view,
                         [this, &view, documentName, identification] {
                             PrintChartThroughDialog(view, {documentName, identification});
                         });
    chart.PEactions(core::ChartAction::sgPrintDialog);
    QObject::disconnect(answer);
}

void PrintCommands::PrintChartThroughDialog(graph::ChartView& view, const QStringList& header) {
    const QString& documentName = header.constFirst();
    const QPointer<graph::ChartView> alive(&view);
    // A chart prints across the paper unless the user turns it in the dialog; the point list
    // keeps the orientation of the page set-up.
    const QPageLayout::Orientation pageSetUp = m_printer->pageLayout().orientation();
    m_printer->setPageOrientation(QPageLayout::Landscape);
    // Named before the dialog: its "print to file" offers the document's name, not "print.pdf".
    m_printer->setDocName(documentName);
    if (m_prompter.PrintDialog(&m_owner, *m_printer) && alive) {
        view.Flush();  // settings just changed reach the plot before it is drawn on paper
        if (!PrintPlot(view, *m_printer, header))
            m_prompter.Message(&m_owner, kCannotPrintMessage.arg(Destination(*m_printer)));
    }
    m_printer->setPageOrientation(pageSetUp);
}

void PrintCommands::PrintText(graph::TfrmGraph& window) {
    const QPointer<graph::TfrmGraph> alive(&window);
    m_printer->setDocName(window.windowTitle());
    if (!m_prompter.PrintDialog(&m_owner, *m_printer) || !alive) return;
    m_printer->setResolution(kTextPrintDpi);
    // A recording in its store lists its readings from the store, a page's lines at a time.
    const graph::RecordingListModel* stored = window.RecordingList();
    const graph::DataListModel& list = window.DataList();
    const int count = stored ? stored->rowCount() : list.rowCount();
    const LineSource line = [stored, &list](int i) {
        return stored ? stored->Line(i) : list.Line(i);
    };
    const graph::ShownStatistics shown = window.StatisticsShown();
    const TextPrintHeading heading{window.windowTitle(), shown.StartTime,
                                   shown.SamplingRate,   shown.DataNo,
                                   window.Unit(),        count > 0 ? line(0) : QString()};
    switch (PrintTextLines(*m_printer, count, line, &heading)) {
        case TextPrintResult::Printed:
            return;
        case TextPrintResult::NotStarted:
            m_prompter.Message(&m_owner, kCannotPrintMessage.arg(Destination(*m_printer)));
            return;
        case TextPrintResult::Interrupted:
            m_prompter.Message(&m_owner, kPrintInterruptedMessage.arg(Destination(*m_printer)));
            return;
    }
}

void PrintCommands::PrinterSetup1Click() { m_prompter.PageSetupDialog(&m_owner, *m_printer); }

}  // namespace kr820::print
