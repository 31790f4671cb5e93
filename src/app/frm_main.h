// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <optional>

#include "app/file_commands.h"
#include "app/frm_alarm_log.h"
#include "app/main_actions.h"
#include "app/publish_settings.h"
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
class QSettings;

namespace kr820::ui {
class Prompter;
class HelpWindow;
}  // namespace kr820::ui
namespace kr820::lcd {
class TfrmLCD;
}
namespace kr820::graph {
class TfrmGraph;
}

namespace kr820::app {

class AlarmBanner;
class AlarmDesk;
class DeskPublisher;
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

    // Shows the window as the user left it last time, maximised on a first start.
    void ShowAtStart();
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

    // The commands of the menu and the tool bar (see ActionTable), as a click runs them.
    void btnOpenClick() { Trigger("Open1"); }
    void Save1Click() { Trigger("Save1"); }
    void ExportGraph1Click() { Trigger("ExportGraph1"); }
    void ExportForSpreadsheets1Click() { Trigger("ExportForSpreadsheets1"); }
    void btnPrintClick() { Trigger("Print1"); }
    void PrinterSetup1Click() { Trigger("PrinterSetup1"); }
    void Exit1Click() { Trigger("Exit1"); }
    void btnDataLoggerClick() { Trigger("DataLogger1"); }
    void btnRunClick() { Trigger("Run1"); }
    void btnStopClick() { Trigger("Stop1"); }
    void btnSetupClick() { Trigger("Option1"); }
    void RealTimeGraph1Click() { Trigger("RealTimeGraph1"); }
    void LCD1Click() { Trigger("LCD1"); }
    void Cascade1Click() { Trigger("Cascade1"); }
    void Tile1Click() { Trigger("Tile1"); }
    void Contents1Click() { Trigger("Contents1"); }
    void AboutClick() { Trigger("About"); }
    // Runs the entry or tool button named `name` as its row says: under the command lock, and
    // not at all while another command holds it, when the row asks for the lock.
    void Trigger(const char* name);

    // The rows the menus and the tool bar are built from (main_actions.cpp).
    static std::span<const MainAction> ActionTable();
    // The menu entry of a row, and the tool button of a row that has one.
    QAction* Item(const char* name) const;
    QToolButton* ToolButton(const char* name) const;
    // The help window, once Help > Contents opened it.
    ui::HelpWindow* Help() const;
    // The alarms: their dialog, their log window, the banner's Acknowledge.
    void AlarmsClick();
    void AlarmLogClick();
    AlarmDesk& Alarms() { return *m_alarms; }
    AlarmBanner* AlarmBannerWidget() const { return m_alarmBanner; }
    TfrmAlarmLog* AlarmLogWindow() const { return m_alarmLog; }
    // Publish...: the readings and alarms to an MQTT broker (frm_main_publish.cpp).
    void PublishClick();
    DeskPublisher& Publisher() { return *m_publisher; }
    const PublishSettings& PublishChoice() const { return m_publishSettings; }
    // The broker's panel of the status bar, empty while not publishing.
    QString BrokerStatusText() const;

    void CreateRealTimeGraph();
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
    // The part of the workspace the LCD window covers, asked when a graph window is placed.
    std::function<QRect()> LcdCovers() const;
    template <typename Command>
    void RunLocked(Command&& command);
    // A save asked for by a graph window: under the lock, or inside the command that asked.
    template <typename Command>
    void RunSave(Command&& command);

    void Run(const MainAction& row);
    void CreateMenus();
    void CreateToolBar();
    void CreateDeviceChooser(QToolBar& bar);
    graph::TfrmGraph* ActiveGraph() const;
    void ChangeBaudRate(int rate);
    void ShowRealTimeGraph();
    void ShowLcdWindow();
    void ShowHelp();
    void ShowAbout();
    // The window's size, place and maximised state, kept across runs.
    void RestoreWindowGeometry(const QSettings& settings);
    void CreateStatusBar();
    // The device box: a device chosen from the list, or typed and confirmed with Return.
    void ComboBoxDeviceNameChange(const QString& text);
    void UpdateWindowMenu();
    void CreateAlarms();
    void ShowAlarmState();
    void CreatePublisher();
    // Publishes as m_publishSettings say, or stops; the password is asked for when the user
    // did not let the program keep it.
    void StartPublishing();
    std::optional<QString> AskBrokerPassword();
    void ShowBrokerState();

    // LinkView
    void ShowDevices(const link::DeviceList& devices) override;
    void SetSplashStatus(const QString& text) override;
    void SetStatusPanels(const QString& port, const QString& connection) override;
    // Also the MeterHost's: the commands derived again from the state, applied in one place.
    void StateChanged() override;
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
    const core::AlarmEngine* AlarmState() const override;
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
    bool m_geometryRestored = false;
    std::optional<QPoint> m_storedLcdPlace;  // the user's place for the LCD from the last run
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

    DeskPublisher* m_publisher = nullptr;
    PublishSettings m_publishSettings;  // with the password typed in this run
    QLabel* m_brokerPanel = nullptr;

    QPointer<TfrmAbout> m_splash;
    QPointer<graph::TfrmGraph> m_realTimeGraphWindow;
    QPointer<graph::TfrmGraph> m_dataLoggerWindow;

    QHash<QString, QAction*> m_items;        // by the entry's object name
    QHash<QString, QToolButton*> m_buttons;  // by the tool button's object name
    QActionGroup* m_baudRates = nullptr;
    QPointer<ui::HelpWindow> m_help;
    QMenu* m_windowMenu = nullptr;
};

}  // namespace kr820::app
