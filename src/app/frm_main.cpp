// SPDX-License-Identifier: MIT
#include "app/frm_main.h"

#include <QAction>
#include <QActionGroup>
#include <QCloseEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QScopeGuard>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/alarm_banner.h"
#include "app/alarm_desk.h"
#include "app/command_lock.h"
#include "app/desk_publisher.h"
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
#include "core/live/redraw_coalescer.h"
#include "core/protocol/exchange_limits.h"
#include "core/settings/program_folder.h"
#include "core/settings/registry_values.h"
#include "core/state/command_states.h"
#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "lcd/frm_lcd.h"
#include "link/com_devices.h"
#include "link/device_list.h"
#include "link/link_log.h"
#include "link/network_device.h"
#include "link/wait.h"
#include "meter/meter_refusal.h"
#include "ui/help_window.h"
#include "ui/prompter.h"
#include "ui/tool_bar_extension.h"

namespace kr820::app {
namespace {

constexpr int kToolBarHeight = 37;
constexpr QSize kFirstGraphSize(900, 600);  // the Real-Time Graph's first size
const QString kMainWindowKey = QStringLiteral("Windows/MainWindow");
const QString kLcdPlaceKey = QStringLiteral("Windows/LcdPlace");
constexpr int kStatusPanelWidth = 50;
constexpr int kDeviceChooserWidth = 99;
constexpr int kDeviceChooserButtonWidth = 40;  // the drop-down arrow and the frame

// The Window menu's key for its i-th window: 1 to 9, then letters its own entries do not use.
QString WindowListKey(int i) {
    // Without the Window menu's own: Cascade, Close, Tile.
    static const QString kLetters = QStringLiteral("ABDEFGHIJKLMNPQRSUVWXYZ");
    if (i < 9) return QStringLiteral("&%1").arg(i + 1);
    if (i - 9 < kLetters.size()) return QStringLiteral("&") + kLetters.at(i - 9);
    return QString::number(i + 1);
}

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
      m_recorder(*this, prompter, core::ProgramFolder()),
      m_setup(*this, prompter),
      m_print(*this, prompter) {
    setObjectName("frmMain");
    setWindowTitle("KR820");

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

    CreateMenus();
    CreateToolBar();
    CreateStatusBar();
    CreateAlarms();
    CreatePublisher();

    // Comm1Error and Comm2Error: every port error is abandoned silently.
    m_comm1.setObjectName("Comm1");
    m_comm2.setObjectName("Comm2");
    m_comm1.SetOnError(AbortSilently);
    m_comm2.SetOnError(AbortSilently);

    m_mainTimer.setObjectName("MainTimer");
    m_mainTimer.setInterval(static_cast<int>(core::kExchangeLimits.tick.count()));
    m_mainTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_mainTimer, &QTimer::timeout, this, [this] { m_link.MainTimerTimer(); });
    // The LCD redraws on readings: at most 25 times a second, whatever the meter sends.
    auto* lcdRedraw = new core::RedrawCoalescer(
        [this](const core::LiveReading& reading) { m_lcd.ShowReading(reading); }, &m_lcd);
    m_link.Readings().FanOut().Attach(
        core::ReadingStage::Display, lcdRedraw,
        {.Reading = [lcdRedraw](const core::LiveReading& reading) { lcdRedraw->Take(reading); }});
    m_link.SetOnRealTimeSample([this](core::TDateTime now) {
        if (m_realTimeGraphWindow) m_recorder.AddRealTimePoint(now);
    });

    FormCreate();
}

TfrmMain::~TfrmMain() {
    m_mainTimer.stop();
    // While the status bar it reports to is still there; a window destroyed unclosed says
    // "offline" too.
    m_publisher->Stop();
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
    // The device a meter answered on last time is tried first, wherever the system lists it; a
    // meter behind a device server, typed once, is no device the system lists.
    if (devices.removeOne(m_state.LastConnectedDevice) ||
        link::IsNetworkDeviceName(m_state.LastConnectedDevice))
        devices.prepend(m_state.LastConnectedDevice);
    m_link.SetDevices(devices);
    m_link.SetDeviceLister(listDevices);
    m_selectingDevice = true;
    if (devices.isEmpty()) m_comboBoxDeviceName->setEditText("ComPort");
    m_selectingDevice = false;

    RestoreWindowGeometry(*settings);

    // The workspace never scrolls, even when a child window reaches beyond it.
    m_workspace->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_workspace->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
}

void TfrmMain::RestoreWindowGeometry(const QSettings& settings) {
    if (settings.contains(kLcdPlaceKey)) m_storedLcdPlace = settings.value(kLcdPlaceKey).toPoint();
    m_geometryRestored = restoreGeometry(settings.value(kMainWindowKey).toByteArray());
    if (m_geometryRestored) return;
    // A first start: room for the Real-Time Graph whole beside the menu, tool bar and status bar,
    // as far as the screen has room.
    const QSize wanted(kFirstGraphSize.width() + 40, kFirstGraphSize.height() + 120);
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize room = screen ? screen->availableGeometry().size() - QSize(16, 48) : wanted;
    resize(wanted.boundedTo(room));
    if (screen) move(screen->availableGeometry().center() - rect().center());
}

void TfrmMain::ShowAtStart() {
    // As the user left it; the first time maximised.
    if (m_geometryRestored) {
        show();
    } else {
        showMaximized();
    }
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

    // The LCD first: the graph window goes beside it where the workspace has the room.
    CreateLcdWindow();
    CreateRealTimeGraph();

    SetSplashStatus("Initializing COM Port ....");
    {
        const CommandLock lock(*this);
        m_link.SearchMeter();
    }
    m_mainTimer.start();
    StartPublishing();
    if (m_splash) {
        m_splash->SetStatus(QString());
        m_splash->close();
        // The splash had the keyboard: a window manager gives it to whichever window it likes.
        if (isVisible()) {
            activateWindow();
            raise();
        }
    }
    m_startupFinished = true;
    ShowPendingNotices();
    m_recorder.OfferLeftOverRecordings();
    emit startupFinished();
}

void TfrmMain::closeEvent(QCloseEvent* event) {
    if (CommandsLocked()) {  // the running operation ends first
        event->ignore();
        return;
    }
    // A recording until stopped has nothing to save, but quitting ends it: asked first, and
    // only Yes ends it.
    if (m_recorder.RecordingUntilStopped() &&
        m_prompter.Confirm(this, meter::kStopRecordingAndQuitQuestion,
                           ui::Prompter::Buttons::YesNo) != ui::Prompter::Answer::Yes) {
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
    m_publisher->Stop();  // the broker hears "offline" before the port closes
    m_comm1.Close();
    m_comm2.Close();

    const auto settings = core::OpenProgramSettings();
    core::WriteRegistryValues(*settings, {m_state.RealTimeRate, m_state.CurrentPortIndex,
                                          m_state.ModelCode, m_state.LastConnectedDevice});
    settings->setValue(kMainWindowKey, saveGeometry());
    if (const std::optional<QPoint> place = m_lcdPlacement->UserPlace()) {
        settings->setValue(kLcdPlaceKey, *place);
    } else if (m_lcd.Window()) {
        settings->remove(kLcdPlaceKey);  // it follows the corner again
    }

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
    commands.SetRealTimeGraphTicked = [this](bool ticked) {
        Item("RealTimeGraph1")->setChecked(ticked);
    };
    commands.DiscardRealTimePoints = [this] { m_recorder.DiscardUnsavedPoints(); };
    commands.RealTimeGraphClosed = [this] { m_recorder.RealTimeGraphClosed(); };
    return {m_prompter,    m_state,           m_graphTools,       core::ProgramFolder(),
            &m_dataLogger, QLocale::system(), std::move(commands)};
}

std::function<QRect()> TfrmMain::LcdCovers() const {
    return [placement = QPointer<LcdPlacement>(m_lcdPlacement)] {
        return placement ? placement->Covered() : QRect();
    };
}

void TfrmMain::CreateRealTimeGraph() {
    graph::TfrmGraph* window = graph::CreateRealTimeGraph(GraphContextFor());
    m_realTimeGraphWindow = window;
    Item("RealTimeGraph1")->setChecked(true);
    graph::AddToWorkspace(*m_workspace, window, LcdCovers());
}

graph::TfrmGraph* TfrmMain::ShowDataLoggerWindow() {
    if (m_dataLoggerWindow) {
        graph::RestoreNormal(m_dataLoggerWindow);
    } else {
        m_dataLoggerWindow = graph::CreateDataLoggerWindow(GraphContextFor());
        graph::AddToWorkspace(*m_workspace, m_dataLoggerWindow, LcdCovers());
    }
    return m_dataLoggerWindow;
}

graph::TfrmGraph* TfrmMain::CreateFileWindow(const QString& caption) {
    auto* window = new graph::TfrmGraph(graph::GraphRole::File, caption, GraphContextFor());
    graph::AddToWorkspace(*m_workspace, window, LcdCovers());
    return window;
}

void TfrmMain::CreateLcdWindow() {
    auto* window = new lcd::TfrmLCD(this);
    window->SetCloseGuard([this] {
        link::WaitWhile([this] { return m_state.RxBusy; }, core::kExchangeLimits.busyLimit);
    });
    // The keyboard stays with the main window, whose menus it drives.
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    m_lcd.AttachWindow(window);
    ShowAlarmState();
    window->show();
    m_lcdPlacement->Follow(window);
    if (m_storedLcdPlace) m_lcdPlacement->RestoreUserPlace(*std::exchange(m_storedLcdPlace, {}));
    if (isVisible()) {
        activateWindow();
        raise();
    }
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
}

void TfrmMain::ShowAlarmState() {
    if (!m_alarms) return;
    const core::AlarmActions& actions = m_alarms->Preferences().Actions;
    const QStringList lines = m_alarms->BannerLines();
    m_alarmBanner->ShowLines(actions.Banner ? lines : QStringList());
    if (lcd::TfrmLCD* lcd = LcdWindow())
        lcd->SetAlarmMark(actions.MarkLcd ? m_alarms->LcdMark() : lcd::TfrmLCD::AlarmMark::None,
                          lines.join(u'\n'));
    if (m_alarmLog) m_alarmLog->Reload();
}

void TfrmMain::AlarmsClick() {
    TfrmAlarms dialog(m_alarms->Preferences(), m_setup.LastRead(), m_alarms->LastUnit(), m_prompter,
                      this);
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

void TfrmMain::CreateMenus() {
    QHash<QString, QMenu*> menus;
    const auto menuNamed = [&](const char* name) {
        if (QMenu* made = menus.value(name)) return made;
        for (const MainMenu& row : MainMenus()) {
            if (qstrcmp(row.name, name) != 0) continue;
            QMenu* made = menuBar()->addMenu(row.title);
            made->setObjectName(row.name);
            made->menuAction()->setVisible(row.visible);
            menus.insert(name, made);
            return made;
        }
        return static_cast<QMenu*>(nullptr);  // every row names a menu of the table
    };
    for (const MainAction& row : ActionTable()) {
        auto* item = new QAction(row.text, this);
        item->setObjectName(row.name);
        item->setCheckable(row.flags & (MainAction::Checkable | MainAction::Radio));
        if (row.shortcut) item->setShortcut(QKeySequence(QString::fromLatin1(row.shortcut)));
        item->setChecked(row.flags & MainAction::Checked);
        if (row.flags & MainAction::Radio) {
            if (!m_baudRates) m_baudRates = new QActionGroup(this);
            m_baudRates->addAction(item);
        }
        connect(item, &QAction::triggered, this, [this, &row] { Run(row); });
        m_items.insert(row.name, item);
        if (!row.menu) {
            menuBar()->addAction(item);
            continue;
        }
        QMenu* menu = menuNamed(row.menu);
        if (row.flags & MainAction::SeparatorBefore) menu->addSeparator();
        menu->addAction(item);
    }
    // The Window menu lists the open windows after its own entries, anew each time it opens.
    m_windowMenu = menus.value("Window1");
    connect(m_windowMenu, &QMenu::aboutToShow, this, &TfrmMain::UpdateWindowMenu);
    UpdateWindowMenu();
}

void TfrmMain::UpdateWindowMenu() {
    m_windowMenu->clear();
    for (const MainAction& row : ActionTable())
        if (row.menu && qstrcmp(row.menu, "Window1") == 0) m_windowMenu->addAction(Item(row.name));
    const QList<QMdiSubWindow*> windows = m_workspace->subWindowList();
    if (!windows.isEmpty()) m_windowMenu->addSeparator();
    for (int i = 0; i < windows.size(); ++i) {
        QMdiSubWindow* window = windows.at(i);
        QAction* item = m_windowMenu->addAction(
            QStringLiteral("%1 %2").arg(WindowListKey(i)).arg(window->widget()->windowTitle()));
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
    ui::NameToolBarExtension(*bar);
    std::vector<const MainAction*> buttons;
    for (const MainAction& row : ActionTable())
        if (row.tool.name) buttons.push_back(&row);
    std::ranges::sort(buttons, {}, [](const MainAction* row) { return row->tool.place; });
    for (const MainAction* row : buttons) {
        auto* button = new QToolButton(bar);
        button->setObjectName(row->tool.name);
        button->setIcon(MakeToolIcon(row->tool.icon));
        button->setToolTip(row->tool.hint);
        // The picture alone says nothing to a screen reader: the hint is the button's name.
        button->setAccessibleName(row->tool.hint);
        button->setAutoRaise(true);
        connect(button, &QToolButton::clicked, this, [this, row] { Run(*row); });
        bar->addWidget(button);
        m_buttons.insert(row->tool.name, button);
    }
    CreateDeviceChooser(*bar);
}

void TfrmMain::CreateDeviceChooser(QToolBar& bar) {
    m_comboBoxDeviceName = new QComboBox(&bar);
    m_comboBoxDeviceName->setAccessibleName(QStringLiteral("Serial device"));
    m_comboBoxDeviceName->setObjectName("ComboBoxDeviceName");
    m_comboBoxDeviceName->setEditable(true);
    m_comboBoxDeviceName->lineEdit()->setAccessibleName(QStringLiteral("Serial device"));
    m_comboBoxDeviceName->setInsertPolicy(QComboBox::NoInsert);
    // Wide enough for a typical USB serial adapter's path; a longer one shows whole in the tip.
    m_comboBoxDeviceName->setFixedWidth(std::max(
        kDeviceChooserWidth,
        m_comboBoxDeviceName->fontMetrics().horizontalAdvance(QStringLiteral("/dev/ttyUSB00")) +
            kDeviceChooserButtonWidth));
    m_comboBoxDeviceName->setEditText("ComPort");
    connect(m_comboBoxDeviceName, &QComboBox::currentTextChanged, m_comboBoxDeviceName,
            [chooser = m_comboBoxDeviceName](const QString& text) { chooser->setToolTip(text); });
    bar.addWidget(m_comboBoxDeviceName);
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
        } else if (!meter::RecordingRefusesCommand(*this, m_prompter)) {
            // The one device the user asked for: why it does not open goes to the status bar.
            const QString failure = m_link.ComboBoxDeviceNameChange(chosen);
            if (!failure.isEmpty()) statusBar()->showMessage(failure);
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
    m_brokerPanel = new QLabel(bar);
    m_brokerPanel->setObjectName(QStringLiteral("StatusPanelBroker"));
    m_brokerPanel->setAccessibleName(tr("Broker state"));
    m_brokerPanel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_brokerPanel->hide();  // shown while publishing
    bar->addWidget(m_brokerPanel);
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

void TfrmMain::Trigger(const char* name) {
    if (const MainAction* row = FindMainAction(name)) Run(*row);
}

void TfrmMain::Run(const MainAction& row) {
    if (!row.locked) {
        row.run(*this);
        return;
    }
    RunLocked([this, &row] { row.run(*this); });
}

graph::TfrmGraph* TfrmMain::ActiveGraph() const {
    QMdiSubWindow* active = m_workspace->currentSubWindow();
    return active ? qobject_cast<graph::TfrmGraph*>(active->widget()) : nullptr;
}

QAction* TfrmMain::Item(const char* name) const { return m_items.value(name); }
QToolButton* TfrmMain::ToolButton(const char* name) const { return m_buttons.value(name); }

void TfrmMain::ChangeBaudRate(int rate) {
    if (meter::RecordingRefusesCommand(*this, m_prompter)) return;
    m_link.ChangeBaudRate(rate);
    for (QAction* item : m_baudRates->actions())
        if (item->text().remove(u'&').toInt() == rate) item->setChecked(true);
}

void TfrmMain::ShowRealTimeGraph() {
    if (m_realTimeGraphWindow) {
        graph::RestoreNormal(m_realTimeGraphWindow);
        Item("RealTimeGraph1")->setChecked(true);
        return;
    }
    CreateRealTimeGraph();
}

void TfrmMain::ShowLcdWindow() {
    if (lcd::TfrmLCD* window = m_lcd.Window()) {
        window->showNormal();
        return;
    }
    CreateLcdWindow();
}

QString TfrmMain::HelpFilePath() {
    const QDir programDir(QCoreApplication::applicationDirPath());
    const QString beside = programDir.filePath("KR820.htm");
    const QString installed = programDir.filePath("../share/kr820/KR820.htm");
    if (!QFileInfo::exists(beside) && QFileInfo::exists(installed))
        return QFileInfo(installed).canonicalFilePath();
    return beside;
}

void TfrmMain::ShowHelp() {
    if (!m_help) m_help = new ui::HelpWindow(HelpFilePath(), this);
    m_help->showNormal();
    m_help->raise();
    m_help->activateWindow();
}

ui::HelpWindow* TfrmMain::Help() const { return m_help; }

void TfrmMain::ShowAbout() {
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
    // A long path differs from its neighbours at its end (by-id names): show that part.
    m_comboBoxDeviceName->lineEdit()->end(false);
    m_selectingDevice = false;
}

void TfrmMain::SetSplashStatus(const QString& text) {
    if (m_splash) m_splash->SetStatus(text);
}

void TfrmMain::SetStatusPanels(const QString& port, const QString& connection) {
    m_statusPanels[0]->setText(port);
    m_statusPanels[1]->setText(connection);
}

// The one place the commands' states reach the menu and the tool bar.
void TfrmMain::StateChanged() {
    const core::CommandStates states = core::CommandStatesFor(m_state);
    ToolButton("btnRun")->setEnabled(states.Run);
    Item("Run1")->setEnabled(states.Run);
    ToolButton("btnStop")->setEnabled(states.Stop);
    Item("Stop1")->setEnabled(states.Stop);
    ToolButton("btnDataLogger")->setEnabled(states.DataLogger);
    Item("DataLogger1")->setEnabled(states.DataLogger);
    // The tool button stays usable: the setup refuses itself while a recording runs.
    Item("Option1")->setEnabled(states.Option);
}

void TfrmMain::ShowNoConnection(bool shown) {
    if (lcd::TfrmLCD* window = m_lcd.Window()) window->ShowNoConnection(shown);
}

void TfrmMain::ShowAccessRefusals(const QString& lines) { statusBar()->setToolTip(lines); }

// Devices the search or the supervision tries on their own are the user's concern only when
// chosen (ComboBoxDeviceNameChange): a box about one would take the keyboard for nothing. The
// status bar's tip lists them all.
void TfrmMain::TellAccessRefusal(const QString& text) { qCWarning(link::lcLink).noquote() << text; }

// ---- MeterHost ---------------------------------------------------------------------------------

graph::TfrmGraph* TfrmMain::ReopenRealTimeGraph() {
    if (!m_realTimeGraphWindow) CreateRealTimeGraph();
    return m_realTimeGraphWindow;
}

bool TfrmMain::SaveSingleSet(graph::TfrmGraph& window) { return m_files.SaveSingleSet(window); }

const core::AlarmEngine* TfrmMain::AlarmState() const {
    return m_alarms ? &m_alarms->Engine() : nullptr;
}

}  // namespace kr820::app
