// SPDX-License-Identifier: MIT
#include "app/main_actions.h"

#include <QMdiSubWindow>
#include <cstring>

#include "app/alarm_desk.h"
#include "app/export_graph_command.h"
#include "app/frm_main.h"
#include "app/report_command.h"
#include "app/spreadsheet_export.h"
#include "app/workspace_area.h"
#include "graph/frm_graph.h"
#include "print/print_commands.h"

namespace kr820::app {
namespace {

using F = MainAction::Flag;

constexpr MainMenu kMenus[] = {
    {"File1", "&File"},
    {"RealTimeData1", "&Real Time Data"},
    {"Alarms1", "&Alarms"},
    // Kept for service: the menu is not visible, so users cannot reach it.
    {"Baudrate1", "&Baudrate", false},
    {"View1", "&View"},
    {"Window1", "&Window"},
    {"Help1", "&Help"},
};

}  // namespace

std::span<const MainAction> TfrmMain::ActionTable() {
    // Print and Export Graph act on the window print::GraphWindowToPrint finds; without a graph
    // window they do nothing.
    static const MainAction kActions[] = {
        {"File1",
         "Open1",
         "&Open",
         [](TfrmMain& m) { m.m_files.btnOpenClick(); },
         true,
         F::None,
         {"btnOpen", ToolIcon::Open, "Open File", 1}},
        {"File1",
         "Save1",
         "&Save",
         [](TfrmMain& m) { m.m_files.Save1Click(m.ActiveGraph()); },
         true,
         F::None,
         {"btnSave", ToolIcon::Save, "Save To File", 2}},
        {"File1", "ExportGraph1", "&Export Graph...",
         [](TfrmMain& m) {
             if (graph::TfrmGraph* window = print::GraphWindowToPrint(*m.m_workspace))
                 ExportGraph(m, m.m_prompter, *window);
         },
         true},
        {"File1", "ExportForSpreadsheets1", "Export &for Spreadsheets...",
         [](TfrmMain& m) { ExportForSpreadsheets(m.ActiveGraph(), m.m_prompter, &m); }, true},
        {"File1", "Report1", "&Report...",
         [](TfrmMain& m) {
             if (graph::TfrmGraph* window = print::GraphWindowToPrint(*m.m_workspace))
                 ReportOnWindow(m, m.m_prompter, *window, m.Alarms().Engine().Settings(),
                                m.m_print.Printer());
         },
         true},
        {"File1",
         "Print1",
         "&Print",
         [](TfrmMain& m) {
             if (graph::TfrmGraph* window = print::GraphWindowToPrint(*m.m_workspace))
                 m.m_print.btnPrintClick(*window);
         },
         true,
         F::SeparatorBefore,
         {"btnPrint", ToolIcon::Print, "Print", 3}},
        {"File1", "PrinterSetup1", "Printer Se&tup",
         [](TfrmMain& m) { m.m_print.PrinterSetup1Click(); }, true},
        {"File1", "Exit1", "E&xit", [](TfrmMain& m) { m.close(); }, false, F::SeparatorBefore},

        {nullptr,
         "DataLogger1",
         "&DataLogger",
         [](TfrmMain& m) { m.m_download.btnDataLoggerClick(); },
         true,
         F::None,
         {"btnDataLogger", ToolIcon::DataLogger, "Load Data", 4}},

        {"RealTimeData1",
         "Run1",
         "&Run",
         [](TfrmMain& m) { m.m_recorder.btnRunClick(); },
         true,
         F::None,
         {"btnRun", ToolIcon::Run, "Start Recording Real Time Data", 7}},
        {"RealTimeData1",
         "Stop1",
         "&Stop",
         [](TfrmMain& m) { m.m_recorder.btnStopClick(); },
         true,
         F::None,
         {"btnStop", ToolIcon::Stop, "Stop Recording Real Time Data", 8}},

        // The tool button stays usable while a recording runs (the entry does not); the setup
        // refuses without a connection.
        {nullptr,
         "Option1",
         "&Option",
         [](TfrmMain& m) { m.m_setup.btnSetupClick(); },
         true,
         F::None,
         {"btnSetup", ToolIcon::Setup, "Setup Meter", 5}},

        // The broker gets the readings the link brings anyway: no port of its own, no lock.
        {nullptr, "Publish1", "&Publish...", [](TfrmMain& m) { m.PublishClick(); }, false},

        // The program's own alarms: no port, no window's data, so no lock.
        {"Alarms1",
         "AlarmSettings1",
         "&Alarms...",
         [](TfrmMain& m) { m.AlarmsClick(); },
         false,
         F::None,
         {"btnAlarms", ToolIcon::Alarm, "Alarms", 6}},
        {"Alarms1", "AlarmLog1", "Alarm &Log", [](TfrmMain& m) { m.AlarmLogClick(); }, false},

        {"Baudrate1", "N96001", "&9600", [](TfrmMain& m) { m.ChangeBaudRate(9600); }, true,
         F::Radio},
        {"Baudrate1", "N192001", "&19200", [](TfrmMain& m) { m.ChangeBaudRate(19200); }, true,
         F::Radio | F::Checked},
        {"Baudrate1", "N384001", "&38400", [](TfrmMain& m) { m.ChangeBaudRate(38400); }, true,
         F::Radio},
        {"Baudrate1", "N576001", "&57600", [](TfrmMain& m) { m.ChangeBaudRate(57600); }, true,
         F::Radio},

        {"View1", "RealTimeGraph1", "Real Time &Graph", [](TfrmMain& m) { m.ShowRealTimeGraph(); },
         false, F::Checkable},
        {"View1", "LCD1", "&LCD", [](TfrmMain& m) { m.ShowLcdWindow(); }, false},

        {"Window1", "Cascade1", "&Cascade", [](TfrmMain& m) { m.m_workspace->CascadeInside(); },
         false},
        {"Window1", "Tile1", "&Tile", [](TfrmMain& m) { m.m_workspace->TileInside(); }, false},
        // As on other desktops: the active graph window closes (and asks what it must).
        {"Window1",
         "CloseWindow1",
         "Cl&ose",
         [](TfrmMain& m) {
             if (QMdiSubWindow* window = m.m_workspace->activeSubWindow()) window->close();
         },
         false,
         F::SeparatorBefore,
         {},
         "Ctrl+F4"},

        {"Help1",
         "Contents1",
         "&Contents",
         [](TfrmMain& m) { m.ShowHelp(); },
         false,
         F::None,
         {"btnHelp", ToolIcon::Help, "Help", 9}},
        {"Help1", "About", "&About KR820", [](TfrmMain& m) { m.ShowAbout(); }, false,
         F::SeparatorBefore},
    };
    return kActions;
}

std::span<const MainMenu> MainMenus() { return kMenus; }

std::span<const MainAction> MainActions() { return TfrmMain::ActionTable(); }

const MainAction* FindMainAction(const char* name) {
    for (const MainAction& row : MainActions()) {
        if (std::strcmp(row.name, name) == 0 ||
            (row.tool.name && std::strcmp(row.tool.name, name) == 0))
            return &row;
    }
    return nullptr;
}

}  // namespace kr820::app
