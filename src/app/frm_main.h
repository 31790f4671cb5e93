// SPDX-License-Identifier: MIT
#pragma once

#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>

#include "app/file_commands.h"
#include "app/frm_alarm_log.h"
#include "core/documents/data_logger_document.h"
#include "core/state/app_state.h"
#include "graph/graph_context.h"
#include "lcd/lcd_presenter.h"
#include "link/clock.h"
#include "link/com_port.h"
#include "link/link_view.h"
#include "link/meter_link.h"
#include "meter/logger_download.h"
#include "meter/meter_host.h"
#include "meter/meter_setup_command.h"
#include "meter/real_time_recorder.h"
#include "print/print_commands.h"

class QAction;
class QActionGroup;
class QComboBox;
class QLabel;
class QMdiArea;
class QMenu;
class QToolBar;
class QToolButton;

namespace kr820::ui {
class Prompter;
}
namespace kr820::lcd {
class TfrmLCD;
}
namespace kr820::graph {
class TfrmGraph;
}

namespace kr820::app {

class AlarmBanner;
class AlarmDesk;
class TfrmAbout;
class WorkspaceArea;
class LcdPlacement;

// The program's one main window: a workspace for the graph windows, the menu, the tool bar with
// the device chooser, the status bar, the timers and the two serial port objects. It owns the
// application state and dispatches every command to the code that carries it out.
class TfrmMain : public QMainWindow, private link::LinkView, private meter::MeterHost {
    Q_OBJECT

public:
    using DeviceLister = std::function<void(QStringList&)>;

    // The exchanges with the meter run on `clock`; tests give one that runs faster.
    TfrmMain(ui::Prompter& prompter, DeviceLister listDevices,
             link::Clock& clock = link::SteadyClock::Shared(), QWidget* parent = nullptr);
    ~TfrmMain() override;

    // The start-up splash; its status label shows what the first show is doing.
    void SetSplash(TfrmAbout* splash);

    core::AppState& State() override { return m_state; }
    link::TComPort& Comm1() { return m_comm1; }
    link::TComPort& Comm2() { return m_comm2; }
    QTimer& MainTimer() { return m_mainTimer; }
    link::MeterLink& Link() override { return m_link; }
    lcd::LcdPresenter& Lcd() { return m_lcd; }
    QComboBox* ComboBoxDeviceName() const { return m_comboBoxDeviceName; }
    QMdiArea* Workspace() const;
    QString StatusPanelText(int panel) const;

    lcd::TfrmLCD* LcdWindow() const;
    graph::TfrmGraph* RealTimeGraphWindow() const override;
    graph::TfrmGraph* DataLoggerWindow() const;

    // True while a command holds the CommandLock; see command_lock.h.
    bool CommandsLocked() const { return m_commandLocks > 0; }
    void LockCommands(bool locked);

    // The help page, beside the program (or where the installation put it).
    static QString HelpFilePath();

    // Menu and tool bar handlers.
    void btnOpenClick();
    void Save1Click();
    void ExportGraph1Click();
    void ExportForSpreadsheets1Click();
    void btnPrintClick();
    void PrinterSetup1Click();
    void Exit1Click();
    void btnDataLoggerClick();
    void btnRunClick();
    void btnStopClick();
    void btnSetupClick();
    void RealTimeGraph1Click();
    void LCD1Click();
    void Cascade1Click();
    void Tile1Click();
    void Contents1Click();
    void AboutClick();
    // The alarms: their dialog, their log window, the banner's Acknowledge.
    void AlarmsClick();
    void AlarmLogClick();
    AlarmDesk& Alarms() { return *m_alarms; }
    AlarmBanner* AlarmBannerWidget() const { return m_alarmBanner; }
    TfrmAlarmLog* AlarmLogWindow() const { return m_alarmLog; }

    void CreateRealTimeGraph();
    // Each tool button changes with its menu entry. (Also the link's view, below.)
    void EnableRun(bool enabled) override;
    void EnableStop(bool enabled) override;
    void EnableOption(bool enabled) override;
    // The DataLogger window, created or brought back to its normal size.
    graph::TfrmGraph* ShowDataLoggerWindow() override;
    bool AskToKeepDataLoggerData() override;
    // A new graph window for an opened file, placed and shown, its chart still empty.
    graph::TfrmGraph* CreateFileWindow(const QString& caption);
    graph::GraphContext GraphContextFor();
    core::DataLoggerDocument& DataLogger() override { return m_dataLogger; }
    FileCommands& Files() { return m_files; }
    // The real-time graph was written to a file.
    void RealTimeGraphSaved() { m_recorder.RealTimeGraphSaved(); }
    meter::LoggerDownload& Download() { return m_download; }

signals:
    // The first show's start-up sequence has run to its end.
    void startupFinished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    // Start-up and shut-down.
    void FormCreate();
    void FormShow();
    void FormClose();
    void CreateLcdWindow();
    template <typename Command>
    void RunLocked(Command&& command);
    // A save asked for by a graph window: under the lock, or inside the command that asked.
    template <typename Command>
    void RunSave(Command&& command);

    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateStatusBar();
    // The device box: a device chosen from the list, or typed and confirmed with Return.
    void ComboBoxDeviceNameChange(const QString& text);
    void UpdateWindowMenu();
    void CreateAlarms();
    void ShowAlarmState();

    // LinkView
    void ShowDevices(const link::DeviceList& devices) override;
    void SetSplashStatus(const QString& text) override;
    void SetStatusPanels(const QString& port, const QString& connection) override;
    void EnableDataLogger(bool enabled) override;
    void ShowNoConnection(bool shown) override;
    void ShowAccessRefusals(const QString& lines) override;
    void TellAccessRefusal(const QString& text) override;

    // MeterHost
    QWidget* DialogOwner() override { return this; }
    void TellWhenIdle(const QString& text) override;
    // Messages wait while the start-up or a command runs, and are shown from the event loop.
    void ScheduleNotices();
    void ShowPendingNotices();
    link::DevicePort& DownloadPort() override { return m_comm2; }
    graph::TfrmGraph* ReopenRealTimeGraph() override;
    bool SaveSingleSet(graph::TfrmGraph& window) override;

    ui::Prompter& m_prompter;
    DeviceLister m_listDevices;
    core::AppState m_state;
    link::TComPort m_comm1;
    link::TComPort m_comm2;
    QTimer m_mainTimer;
    link::MeterLink m_link;
    lcd::LcdPresenter m_lcd;
    core::DataLoggerDocument m_dataLogger;
    graph::SharedGraphTools m_graphTools;
    FileCommands m_files;
    meter::LoggerDownload m_download;
    meter::RealTimeRecorder m_recorder;
    meter::MeterSetupCommand m_setup;
    print::PrintCommands m_print;

    WorkspaceArea* m_workspace = nullptr;
    LcdPlacement* m_lcdPlacement = nullptr;
    QComboBox* m_comboBoxDeviceName = nullptr;
    QLabel* m_statusPanels[2] = {nullptr, nullptr};
    bool m_selectingDevice = false;  // the program, not the user, changes the chooser
    bool m_firstShowDone = false;
    bool m_startupFinished = false;
    QStringList m_pendingNotices;
    bool m_noticesScheduled = false;
    bool m_showingNotices = false;
    int m_commandLocks = 0;
    int m_savesInsideCommand = 0;  // a command asks a window's question and saves on its Yes
    QToolBar* m_toolBar = nullptr;

    AlarmDesk* m_alarms = nullptr;
    AlarmBanner* m_alarmBanner = nullptr;
    QPointer<TfrmAlarmLog> m_alarmLog;
    bool m_alarmProblemTold = false;

    QPointer<TfrmAbout> m_splash;
    QPointer<graph::TfrmGraph> m_realTimeGraphWindow;
    QPointer<graph::TfrmGraph> m_dataLoggerWindow;

    QToolButton* m_btnOpen = nullptr;
    QToolButton* m_btnSave = nullptr;
    QToolButton* m_btnPrint = nullptr;
    QToolButton* m_btnDataLogger = nullptr;
    QToolButton* m_btnSetup = nullptr;
    QToolButton* m_btnRun = nullptr;
    QToolButton* m_btnStop = nullptr;
    QToolButton* m_btnHelp = nullptr;

    QAction* m_open1 = nullptr;
    QAction* m_save1 = nullptr;
    QAction* m_exportGraph1 = nullptr;
    QAction* m_exportForSpreadsheets1 = nullptr;
    QAction* m_print1 = nullptr;
    QAction* m_printerSetup1 = nullptr;
    QAction* m_exit1 = nullptr;
    QAction* m_dataLogger1 = nullptr;
    QAction* m_run1 = nullptr;
    QAction* m_stop1 = nullptr;
    QAction* m_option1 = nullptr;
    QAction* m_realTimeGraph1 = nullptr;
    QAction* m_lcd1 = nullptr;
    QAction* m_cascade1 = nullptr;
    QAction* m_tile1 = nullptr;
    QAction* m_contents1 = nullptr;
    QAction* m_about = nullptr;
    QActionGroup* m_baudRates = nullptr;
    QMenu* m_windowMenu = nullptr;
};

}  // namespace kr820::app
