// SPDX-License-Identifier: MIT
#include "app/frm_main.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScopeGuard>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/alarm_banner.h"
#include "app/alarm_commands.h"
#include "app/alarm_desk.h"
#include "app/command_lock.h"
#include "app/device_choice.h"
#include "app/export_graph_command.h"
#include "app/frm_about.h"
#include "app/frm_alarm_log.h"
#include "app/frm_alarms.h"
#include "app/lcd_placement.h"
#include "app/spreadsheet_export.h"
#include "app/toolbar_icons.h"
#include "app/workspace_area.h"
#include "core/alarms/alarm_log.h"
#include "core/protocol/exchange_limits.h"
#include "core/realtime/real_time_journal_file.h"
#include "core/settings/program_folder.h"
#include "core/settings/registry_values.h"
#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "lcd/frm_lcd.h"
#include "link/com_devices.h"
#include "link/device_list.h"
#include "link/wait.h"
#include "ui/prompter.h"

namespace kr820::app {
namespace {

constexpr int kToolBarHeight = 37;
constexpr int kStatusPanelWidth = 50;
constexpr int kDeviceChooserWidth = 99;
constexpr int kDeviceChooserButtonWidth = 40;  // the drop-down arrow and the frame

void AbortSilently(link::TComPort&, const link::EComError&, link::TErrorAction& action) {
    action = link::TErrorAction::AbortSilently;
}

}  // namespace

TfrmMain::TfrmMain(ui::Prompter& prompter, DeviceLister listDevices, link::Clock& clock,
                   QWidget* parent)
    : QMainWindow(parent),
      m_prompter(prompter),
      m_listDevices(std::move(listDevices)),
      m_link(m_state, m_comm1, m_mainTimer, *this, clock),
      m_dataLogger(core::ProgramFolder()),
      m_files(*this, prompter),
      m_download(*this, prompter),
      m_recorder(*this, prompter, core::RealTimeJournalPath(core::ProgramFolder())),
      m_setup(*this, prompter),
      m_print(*this, prompter) {
    setObjectName("frmMain");
    setWindowTitle("KR820");
    resize(837, 522);

    // The alarm banner above the workspace, shown only while an alarm waits.
    auto* central = new QWidget(this);
    auto* centralLayout = new QVBoxLayout(central);
    centralLayout->setContentsMargins(0, 0, 0, 0);
    centralLayout->setSpacing(0);
    m_alarmBanner = new AlarmBanner(central);
    m_workspace = new WorkspaceArea(central);
    m_workspace->setObjectName("Workspace");
    centralLayout->addWidget(m_alarmBanner);
    centralLayout->addWidget(m_workspace, 1);
    setCentralWidget(central);
    m_lcdPlacement = new LcdPlacement(*m_workspace);
    m_lcdPlacement->setParent(this);

    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateAlarms();

    // Comm1Error and Comm2Error: every port error is abandoned silently.
    m_comm1.setObjectName("Comm1");
    m_comm2.setObjectName("Comm2");
    m_comm1.SetOnError(AbortSilently);
    m_comm2.SetOnError(AbortSilently);

    m_mainTimer.setObjectName("MainTimer");
    m_mainTimer.setInterval(static_cast<int>(core::kExchangeLimits.tick.count()));
    m_mainTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_mainTimer, &QTimer::timeout, this, [this] { m_link.MainTimerTimer(); });
    connect(&m_link.Readings(), &link::LiveReadings::readingArrived, &m_lcd,
            [this](const core::LiveReading& reading) { m_lcd.ShowReading(reading); });
    m_link.SetOnRealTimeSample([this](core::TDateTime now) {
        if (m_realTimeGraphWindow) m_recorder.AddRealTimePoint(now);
    });

    FormCreate();
}

TfrmMain::~TfrmMain() {
    m_mainTimer.stop();
    // Graph windows report their closing to this window, which is no longer whole when the base
    // class destroys the children (closed ones may still wait for their deferred deletion).
    for (graph::TfrmGraph* child : findChildren<graph::TfrmGraph*>()) child->disconnect(this);
    delete m_lcd.Window();
}

void TfrmMain::FormCreate() {
    const auto settings = core::OpenProgramSettings();
    const core::RegistryValues stored = core::ReadRegistryValues(*settings);
    m_state.RealTimeRate = stored.RealTimeRate;
    m_state.LastConnectedPort = stored.LastConnectedPort;
    m_state.LastConnectedModel = stored.LastConnectedModel;
    m_state.LastConnectedDevice = stored.LastConnectedDevice;

    const auto listDevices = [this] {
        QStringList devices;
        if (m_listDevices) m_listDevices(devices);
        return devices;
    };
    QStringList devices = listDevices();
    // The device a meter answered on last time is tried first, wherever the system lists it.
    if (devices.removeOne(m_state.LastConnectedDevice))
        devices.prepend(m_state.LastConnectedDevice);
    m_link.SetDevices(devices);
    m_link.SetDeviceLister(listDevices);
    m_selectingDevice = true;
    if (devices.isEmpty()) m_comboBoxDeviceName->setEditText("ComPort");
    m_selectingDevice = false;

    // The workspace never scrolls, even when a child window reaches beyond it.
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TfrmMain::SetSplash(TfrmAbout* splash) { m_splash = splash; }

void TfrmMain::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    if (m_firstShowDone) return;
    m_firstShowDone = true;
    // The start-up runs once the window is on screen, from the event loop, because the meter
    // search processes events while it waits.
    QMetaObject::invokeMethod(this, &TfrmMain::FormShow, Qt::QueuedConnection);
}

void TfrmMain::FormShow() {
    if (m_state.RealTimeRate == 0) m_state.RealTimeRate = 2;
    m_state.RealTimeAxisStep = core::RealTimeAxisStepFor(m_state.RealTimeRate);

    CreateRealTimeGraph();
    CreateLcdWindow();

    SetSplashStatus("Initializing COM Port ....");
    {
        const CommandLock lock(*this);
        m_link.SearchMeter();
    }
    m_mainTimer.start();
    if (m_splash) {
        m_splash->SetStatus(QString());
        m_splash->close();
    }
    m_startupFinished = true;
    ShowPendingNotices();
    m_recorder.OfferUnsavedRecording();
    emit startupFinished();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (CommandsLocked()) {  // the running operation ends first
        event->ignore();
        return;
    }
    // Child windows may hold data the user wants to keep. Every one asks before any closes, so
    // that a Cancel at the last question still finds everything as it was.
    QList<QPointer<graph::TfrmGraph>> graphs;
    for (QMdiSubWindow* frame : m_workspace->subWindowList(QMdiArea::CreationOrder)) {
        if (auto* window = qobject_cast<graph::TfrmGraph*>(frame->widget())) graphs << window;
    }
    for (const QPointer<graph::TfrmGraph>& window : graphs) {
        if (window && !window->AskToKeepData()) {
            event->ignore();
            return;
        }
    }
    for (const QPointer<graph::TfrmGraph>& window : graphs) {
        if (window) window->SetCloseAnswered(true);
    }
    m_workspace->closeAllSubWindows();
    if (!m_workspace->subWindowList().isEmpty()) {
        for (const QPointer<graph::TfrmGraph>& window : graphs) {
            if (window) window->SetCloseAnswered(false);
        }
        event->ignore();
        return;
    }
    FormClose();
    event->accept();
}

void TfrmMain::FormClose() {
    m_mainTimer.stop();
    m_comm1.Close();
    m_comm2.Close();

    const auto settings = core::OpenProgramSettings();
    core::WriteRegistryValues(*settings, {m_state.RealTimeRate, m_state.CurrentPortIndex,
                                          m_state.ModelCode, m_state.LastConnectedDevice});

    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    if (lcd::TfrmLCD* window = m_lcd.Window()) window->close();
}

graph::GraphContext TfrmMain::GraphContextFor() {
    graph::GraphCommands commands;
    commands.Save1Click = [this](graph::TfrmGraph& window) {
        bool saved = false;
        RunSave([&] { saved = m_files.Save1Click(&window); });
        return saved;
    };
    commands.SaveSingleSet = [this](graph::TfrmGraph& window) {
        bool saved = false;
        RunSave([&] { saved = m_files.SaveSingleSet(window); });
        return saved;
    };
    commands.ForgetWindow = [this](graph::TfrmGraph& window) {
        if (m_realTimeGraphWindow == &window) m_realTimeGraphWindow = nullptr;
        if (m_dataLoggerWindow == &window) m_dataLoggerWindow = nullptr;
    };
    commands.SetRealTimeGraphTicked = [this](bool ticked) { m_realTimeGraph1->setChecked(ticked); };
    commands.DiscardRealTimeJournal = [this] { m_recorder.DiscardJournal(); };
    commands.EnableRun = [this](bool enabled) { EnableRun(enabled); };
    commands.EnableStop = [this](bool enabled) { EnableStop(enabled); };
    return {m_prompter, m_state,           m_graphTools,       core::ProgramFolder(),
            &m_dataLogger,   QLocale::system(), std::move(commands)};
}

void TfrmMain::CreateRealTimeGraph() {
    graph::TfrmGraph* window = graph::CreateRealTimeGraph(GraphContextFor());
    m_realTimeGraphWindow = window;
    m_realTimeGraph1->setChecked(true);
    graph::AddToWorkspace(*m_workspace, window);
}

graph::TfrmGraph* TfrmMain::ShowDataLoggerWindow() {
    if (m_dataLoggerWindow) {
        graph::RestoreNormal(m_dataLoggerWindow);
    } else {
        m_dataLoggerWindow = graph::CreateDataLoggerWindow(GraphContextFor());
        graph::AddToWorkspace(*m_workspace, m_dataLoggerWindow);
    }
    return m_dataLoggerWindow;
}

graph::TfrmGraph* TfrmMain::CreateFileWindow(const QString& caption) {
    auto* window = new graph::TfrmGraph(graph::GraphRole::File, caption, GraphContextFor());
    graph::AddToWorkspace(*m_workspace, window);
    return window;
}

void TfrmMain::CreateLcdWindow() {
    auto* window = new lcd::TfrmLCD(this);
    window->SetCloseGuard([this] {
        link::WaitWhile([this] { return m_state.RxBusy; }, core::kExchangeLimits.busyLimit);
    });
    m_lcd.AttachWindow(window);
    ShowAlarmState();
    window->show();
    m_lcdPlacement->Follow(window);
}

// ---- Alarms -----------------------------------------------------------------------------------

void TfrmMain::CreateAlarms() {
    m_alarms = new AlarmDesk(m_link.Readings(),
                             QDir(core::ProgramFolder()).filePath(core::kAlarmLogName), this);
    m_alarms->LoadSettings();
    m_alarms->SetOnEvent([this](const core::AlarmEvent& event) { m_recorder.MarkAlarm(event); });
    connect(m_alarms, &AlarmDesk::changed, this, &TfrmMain::ShowAlarmState);
    connect(m_alarms, &AlarmDesk::problem, this, [this](const QString& line) {
        qWarning().noquote() << line;
        // Told once: a command that fails at every alarm must not bury the window in boxes.
        if (m_alarmProblemTold) return;
        m_alarmProblemTold = true;
        TellWhenIdle(line);
    });
    connect(m_alarmBanner, &AlarmBanner::acknowledged, m_alarms, &AlarmDesk::AcknowledgeAll);
    AddAlarmCommands(*menuBar(), m_option1, *m_toolBar, m_btnSetup,
                     {[this] { AlarmsClick(); }, [this] { AlarmLogClick(); }});
}

void TfrmMain::ShowAlarmState() {
    if (!m_alarms) return;
    const core::AlarmActions& actions = m_alarms->Preferences().Actions;
    const QStringList lines = m_alarms->BannerLines();
    m_alarmBanner->ShowLines(actions.Banner ? lines : QStringList());
    if (lcd::TfrmLCD* lcd = LcdWindow())
        lcd->SetAlarmMarked(actions.MarkLcd && m_alarms->WantsAttention(), lines.join(u'\n'));
    if (m_alarmLog) m_alarmLog->Reload();
}

void TfrmMain::AlarmsClick() {
    TfrmAlarms dialog(m_alarms->Preferences(), m_setup.LastRead(), m_alarms->LastUnit(), this);
    if (m_prompter.Exec(dialog) != QDialog::Accepted) return;
    m_alarms->SetPreferences(dialog.Choice());
    m_alarms->SaveSettings();
}

void TfrmMain::AlarmLogClick() {
    if (!m_alarmLog) {
        m_alarmLog = new TfrmAlarmLog(m_alarms->LogPath(), this);
        m_alarmLog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_alarmLog->Reload();
    m_alarmLog->show();
    m_alarmLog->raise();
}

// ---- Menu and tool bar -------------------------------------------------------------------------

void TfrmMain::CreateActions() {
    auto action = [this](const char* name, const QString& text, void (TfrmMain::*handler)()) {
        auto* created = new QAction(text, this);
        created->setObjectName(name);
        connect(created, &QAction::triggered, this, handler);
        return created;
    };
    m_open1 = action("Open1", "&Open", &TfrmMain::btnOpenClick);
    m_save1 = action("Save1", "&Save", &TfrmMain::Save1Click);
    m_exportGraph1 = action("ExportGraph1", "&Export Graph...", &TfrmMain::ExportGraph1Click);
    m_exportForSpreadsheets1 = action("ExportForSpreadsheets1", kExportForSpreadsheetsText,
                                      &TfrmMain::ExportForSpreadsheets1Click);
    m_print1 = action("Print1", "&Print", &TfrmMain::btnPrintClick);
    m_printerSetup1 = action("PrinterSetup1", "&Printer Setup", &TfrmMain::PrinterSetup1Click);
    m_exit1 = action("Exit1", "E&xit", &TfrmMain::Exit1Click);
    m_dataLogger1 = action("DataLogger1", "&DataLogger", &TfrmMain::btnDataLoggerClick);
    m_run1 = action("Run1", "&Run", &TfrmMain::btnRunClick);
    m_stop1 = action("Stop1", "&Stop", &TfrmMain::btnStopClick);
    m_option1 = action("Option1", "&Option", &TfrmMain::btnSetupClick);
    m_realTimeGraph1 = action("RealTimeGraph1", "Real Time &Graph", &TfrmMain::RealTimeGraph1Click);
    m_realTimeGraph1->setCheckable(true);
    m_lcd1 = action("LCD1", "&LCD", &TfrmMain::LCD1Click);
    m_cascade1 = action("Cascade1", "&Cascade", &TfrmMain::Cascade1Click);
    m_tile1 = action("Tile1", "&Tile", &TfrmMain::Tile1Click);
    m_contents1 = action("Contents1", "&Contents", &TfrmMain::Contents1Click);
    m_about = action("About", "&About KR820", &TfrmMain::AboutClick);
}

void TfrmMain::CreateMenus() {
    QMenu* file = menuBar()->addMenu("&File");
    file->setObjectName("File1");
    file->addAction(m_open1);
    file->addAction(m_save1);
    file->addAction(m_exportGraph1);
    file->addAction(m_exportForSpreadsheets1);
    file->addSeparator();
    file->addAction(m_print1);
    file->addAction(m_printerSetup1);
    file->addSeparator();
    file->addAction(m_exit1);

    menuBar()->addAction(m_dataLogger1);

    QMenu* realTime = menuBar()->addMenu("Real Time Data");
    realTime->setObjectName("RealTimeData1");
    realTime->addAction(m_run1);
    realTime->addAction(m_stop1);

    menuBar()->addAction(m_option1);

    // Kept for service: the menu is not visible, so users cannot reach it.
    QMenu* baudrate = menuBar()->addMenu("&Baudrate");
    baudrate->setObjectName("Baudrate1");
    baudrate->menuAction()->setVisible(false);
    m_baudRates = new QActionGroup(this);
    for (const auto& [name, rate] : {std::pair{"N96001", 9600}, std::pair{"N192001", 19200},
                                     std::pair{"N384001", 38400}, std::pair{"N576001", 57600}}) {
        QAction* item = baudrate->addAction(QString::number(rate));
        item->setObjectName(name);
        item->setCheckable(true);
        item->setChecked(rate == 19200);
        m_baudRates->addAction(item);
        connect(item, &QAction::triggered, this, [this, item, rate = rate] {
            RunLocked([&] {
                m_link.ChangeBaudRate(rate);
                item->setChecked(true);
            });
        });
    }

    QMenu* view = menuBar()->addMenu("&View");
    view->setObjectName("View1");
    view->addAction(m_realTimeGraph1);
    view->addAction(m_lcd1);

    m_windowMenu = menuBar()->addMenu("&Window");
    m_windowMenu->setObjectName("Window1");
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TfrmMain::UpdateWindowMenu);
    UpdateWindowMenu();

    QMenu* help = menuBar()->addMenu("&Help");
    help->setObjectName("Help1");
    help->addAction(m_contents1);
    help->addSeparator();
    help->addAction(m_about);
}

void TfrmMain::UpdateWindowMenu() {
    m_windowMenu->clear();
    m_windowMenu->addAction(m_cascade1);
    m_windowMenu->addAction(m_tile1);
    const QList<QMdiSubWindow*> windows = m_workspace->subWindowList();
    if (!windows.isEmpty()) m_windowMenu->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows.at(i);
        QAction* item = m_windowMenu->addAction(
            QStringLiteral("&%1 %2").arg(i + 1).arg(window->widget()->windowTitle()));
        item->setCheckable(true);
        item->setChecked(window == m_workspace->activeSubWindow());
        connect(item, &QAction::triggered, this,
                [this, window] { m_workspace->setActiveSubWindow(window); });
    }
}

void TfrmMain::CreateToolBar() {
    QToolBar* bar = addToolBar("Tools");
    m_toolBar = bar;
    bar->setObjectName("ToolBar1");
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kToolBarHeight);
    bar->setContextMenuPolicy(Qt::PreventContextMenu);
    auto button = [this, bar](const char* name, ToolIcon icon, const QString& hint,
                              void (TfrmMain::*handler)()) {
        auto* created = new QToolButton(bar);
        created->setObjectName(name);
        created->setIcon(MakeToolIcon(icon));
        created->setToolTip(hint);
        created->setAutoRaise(true);
        connect(created, &QToolButton::clicked, this, handler);
        bar->addWidget(created);
        return created;
    };
    m_btnOpen = button("btnOpen", ToolIcon::Open, "Open File", &TfrmMain::btnOpenClick);
    m_btnSave = button("btnSave", ToolIcon::Save, "Save To File", &TfrmMain::Save1Click);
    m_btnPrint = button("btnPrint", ToolIcon::Print, "Print", &TfrmMain::btnPrintClick);
    m_btnDataLogger =
        button("btnDataLogger", ToolIcon::DataLogger, "Load Data", &TfrmMain::btnDataLoggerClick);
    m_btnSetup = button("btnSetup", ToolIcon::Setup, "Setup Meter", &TfrmMain::btnSetupClick);
    m_btnRun =
        button("btnRun", ToolIcon::Run, "Start Recording Real Time Data", &TfrmMain::btnRunClick);
    m_btnStop =
        button("btnStop", ToolIcon::Stop, "Stop Recording Real Time Data", &TfrmMain::btnStopClick);
    m_btnHelp = button("btnHelp", ToolIcon::Help, "Help", &TfrmMain::Contents1Click);

    m_comboBoxDeviceName = new QComboBox(bar);
    m_comboBoxDeviceName->setObjectName("ComboBoxDeviceName");
    m_comboBoxDeviceName->setEditable(true);
    m_comboBoxDeviceName->setInsertPolicy(QComboBox::NoInsert);
    // Wide enough for a typical USB serial adapter's path; a longer one shows whole in the tip.
    m_comboBoxDeviceName->setFixedWidth(std::max(
        kDeviceChooserWidth,
        m_comboBoxDeviceName->fontMetrics().horizontalAdvance(QStringLiteral("/dev/ttyUSB00")) +
            kDeviceChooserButtonWidth));
    m_comboBoxDeviceName->setEditText("ComPort");
    connect(m_comboBoxDeviceName, &QComboBox::currentTextChanged, m_comboBoxDeviceName,
            [chooser = m_comboBoxDeviceName](const QString& text) { chooser->setToolTip(text); });
    bar->addWidget(m_comboBoxDeviceName);
    // Only the user's choice moves the link to another device: an entry chosen from the list, or
    // a typed name once Return is pressed. Typing alone leaves the port in use alone.
    connect(m_comboBoxDeviceName, &QComboBox::activated, this,
            [this](int index) { ComboBoxDeviceNameChange(m_comboBoxDeviceName->itemText(index)); });
    connect(m_comboBoxDeviceName->lineEdit(), &QLineEdit::returnPressed, this,
            [this] { ComboBoxDeviceNameChange(m_comboBoxDeviceName->currentText()); });
}

void TfrmMain::ComboBoxDeviceNameChange(const QString& text) {
    if (m_selectingDevice) return;
    RunLocked([this, chosen = text.trimmed()] {
        if (!NamesSerialDevice(chosen)) {
            m_prompter.Message(this, kNotADeviceMessage.arg(chosen));
        } else {
            m_link.ComboBoxDeviceNameChange(chosen);
        }
        // The box shows the device in use, so that the Return's end of editing chooses nothing
        // more and a refused name does not stay as if it were in use.
        ShowDevices(m_link.Devices());
    });
}

void TfrmMain::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    bar->setObjectName("StatusBar1");
    bar->setSizeGripEnabled(false);
    for (int i = 0; i < 2; ++i) {
        m_statusPanels[i] = new QLabel(bar);
        m_statusPanels[i]->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        m_statusPanels[i]->setMinimumWidth(kStatusPanelWidth);
        m_statusPanels[i]->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        bar->addWidget(m_statusPanels[i]);
    }
}

QMdiArea* TfrmMain::Workspace() const { return m_workspace; }

QString TfrmMain::StatusPanelText(int panel) const { return m_statusPanels[panel]->text(); }

lcd::TfrmLCD* TfrmMain::LcdWindow() const { return m_lcd.Window(); }
graph::TfrmGraph* TfrmMain::RealTimeGraphWindow() const { return m_realTimeGraphWindow; }
graph::TfrmGraph* TfrmMain::DataLoggerWindow() const { return m_dataLoggerWindow; }

// ---- Commands ----------------------------------------------------------------------------------

// Opening and saving files, printing, the logger download, real-time recording and the meter
// setup are carried out by their own windows and dialogs; these entries are their doors.
void TfrmMain::LockCommands(bool locked) {
    m_commandLocks += locked ? 1 : -1;
    // The containers, not the entries: what the link enables or disables meanwhile stays as it
    // set it when they come back.
    menuBar()->setEnabled(!CommandsLocked());
    if (m_toolBar) m_toolBar->setEnabled(!CommandsLocked());
    if (!CommandsLocked() && !m_pendingNotices.isEmpty()) ScheduleNotices();
}

void TfrmMain::TellWhenIdle(const QString& text) {
    m_pendingNotices << text;
    ScheduleNotices();
}

void TfrmMain::ScheduleNotices() {
    if (m_noticesScheduled) return;
    m_noticesScheduled = true;
    QMetaObject::invokeMethod(this, &TfrmMain::ShowPendingNotices, Qt::QueuedConnection);
}

void TfrmMain::ShowPendingNotices() {
    m_noticesScheduled = false;
    // Shown when the start-up or the command ends (LockCommands schedules them again), one after
    // the other: one told while a message is open waits for this loop.
    if (!m_startupFinished || CommandsLocked() || m_showingNotices) return;
    m_showingNotices = true;
    while (!m_pendingNotices.isEmpty()) m_prompter.Message(this, m_pendingNotices.takeFirst());
    m_showingNotices = false;
}

// Each command runs under the lock; one that arrives while another runs is dropped, as a click
// on a disabled button would be.
template <typename Command>
void TfrmMain::RunLocked(Command&& command) {
    if (CommandsLocked()) return;
    const CommandLock lock(*this);
    command();
}

template <typename Command>
void TfrmMain::RunSave(Command&& command) {
    if (m_savesInsideCommand > 0) {
        command();
        return;
    }
    RunLocked(std::forward<Command>(command));
}

bool TfrmMain::AskToKeepDataLoggerData() {
    if (!m_dataLoggerWindow) return true;
    // The command that replaces the data asks; a save on Yes is part of it.
    ++m_savesInsideCommand;
    const auto done = qScopeGuard([this] { --m_savesInsideCommand; });
    return m_dataLoggerWindow->AskToKeepData();
}

void TfrmMain::btnOpenClick() {
    RunLocked([this] { m_files.btnOpenClick(); });
}

void TfrmMain::Save1Click() {
    RunLocked([this] {
        QMdiSubWindow* active = m_workspace->currentSubWindow();
        m_files.Save1Click(active ? qobject_cast<graph::TfrmGraph*>(active->widget()) : nullptr);
    });
}

void TfrmMain::ExportForSpreadsheets1Click() {
    RunLocked([this] {
        QMdiSubWindow* active = m_workspace->currentSubWindow();
        ExportForSpreadsheets(active ? qobject_cast<graph::TfrmGraph*>(active->widget()) : nullptr,
                              m_prompter, this);
    });
}

// Print and Export Graph act on the window print::GraphWindowToPrint finds; without a graph
// window they do nothing.
void TfrmMain::ExportGraph1Click() {
    RunLocked([this] {
        if (graph::TfrmGraph* window = print::GraphWindowToPrint(*m_workspace))
            ExportGraph(*this, m_prompter, *window);
    });
}

void TfrmMain::btnPrintClick() {
    RunLocked([this] {
        if (graph::TfrmGraph* window = print::GraphWindowToPrint(*m_workspace))
            m_print.btnPrintClick(*window);
    });
}

void TfrmMain::PrinterSetup1Click() {
    RunLocked([this] { m_print.PrinterSetup1Click(); });
}

void TfrmMain::btnDataLoggerClick() {
    RunLocked([this] { m_download.btnDataLoggerClick(); });
}
void TfrmMain::btnRunClick() {
    RunLocked([this] { m_recorder.btnRunClick(); });
}
void TfrmMain::btnStopClick() {
    RunLocked([this] { m_recorder.btnStopClick(); });
}
void TfrmMain::btnSetupClick() {
    RunLocked([this] { m_setup.btnSetupClick(); });
}

void TfrmMain::Exit1Click() { close(); }

void TfrmMain::RealTimeGraph1Click() {
    if (m_realTimeGraphWindow) {
        graph::RestoreNormal(m_realTimeGraphWindow);
        m_realTimeGraph1->setChecked(true);
        return;
    }
    CreateRealTimeGraph();
}

void TfrmMain::LCD1Click() {
    if (lcd::TfrmLCD* window = m_lcd.Window()) {
        window->showNormal();
        return;
    }
    CreateLcdWindow();
}

void TfrmMain::Cascade1Click() { m_workspace->CascadeInside(); }
void TfrmMain::Tile1Click() { m_workspace->TileInside(); }

QString TfrmMain::HelpFilePath() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath("KR820.htm");
    const QString installed = programDir.filePath("../share/kr820/KR820.htm");
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return QFileInfo(installed).canonicalFilePath();
    return beside;
}

void TfrmMain::Contents1Click() { m_prompter.OpenDocument(HelpFilePath()); }

void TfrmMain::AboutClick() {
    QPointer<TfrmAbout> about = new TfrmAbout(this);
    m_prompter.Exec(*about);
    delete about;  // closing frees it, unless the box was only hidden
}

// ---- LinkView ----------------------------------------------------------------------------------

void TfrmMain::ShowDevices(const link::DeviceList& devices) {
    m_selectingDevice = true;
    QStringList shown;
    for (int i = 0; i < m_comboBoxDeviceName->count(); ++i)
        shown << m_comboBoxDeviceName->itemText(i);
    if (shown != devices.Entries()) {
        m_comboBoxDeviceName->clear();
        m_comboBoxDeviceName->addItems(devices.Entries());
    }
    m_comboBoxDeviceName->setCurrentIndex(devices.ChosenIndex());
    if (devices.ChosenIndex() < 0) m_comboBoxDeviceName->setEditText(devices.ChosenText());
    m_selectingDevice = false;
}

void TfrmMain::SetSplashStatus(const QString& text) {
    if (m_splash) m_splash->SetStatus(text);
}

void TfrmMain::SetStatusPanels(const QString& port, const QString& connection) {
    m_statusPanels[0]->setText(port);
    m_statusPanels[1]->setText(connection);
}

void TfrmMain::EnableRun(bool enabled) {
    m_btnRun->setEnabled(enabled);
    m_run1->setEnabled(enabled);
}

void TfrmMain::EnableStop(bool enabled) {
    m_btnStop->setEnabled(enabled);
    m_stop1->setEnabled(enabled);
}

void TfrmMain::EnableOption(bool enabled) { m_option1->setEnabled(enabled); }

void TfrmMain::EnableDataLogger(bool enabled) {
    m_btnDataLogger->setEnabled(enabled);
    m_dataLogger1->setEnabled(enabled);
}

void TfrmMain::ShowNoConnection(bool shown) {
    if (lcd::TfrmLCD* window = m_lcd.Window()) window->lblNoConnection()->setVisible(shown);
}

void TfrmMain::ShowAccessRefusals(const QString& lines) { statusBar()->setToolTip(lines); }

void TfrmMain::TellAccessRefusal(const QString& text) { TellWhenIdle(text); }

// ---- MeterHost ---------------------------------------------------------------------------------

graph::TfrmGraph* TfrmMain::ReopenRealTimeGraph() {
    if (!m_realTimeGraphWindow) CreateRealTimeGraph();
    return m_realTimeGraphWindow;
}

bool TfrmMain::SaveSingleSet(graph::TfrmGraph& window) { return m_files.SaveSingleSet(window); }

}  // namespace kr820::app
