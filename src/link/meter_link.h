// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QHash>
#include <QObject>
#include <QStringList>
#include <functional>

#include "core/state/app_state.h"
#include "link/access_refusal.h"
#include "link/clock.h"
#include "link/device_list.h"
#include "link/live_readings.h"

class QTimer;

namespace kr820::link {

class DevicePort;
class LinkView;
class Port;

// Finds the meter at start-up and supervises the link once a second: polls, declares the link
// lost after three ticks without a frame, restores it on the next frame, and keeps the ticks one
// second apart. It owns no window: what it shows goes through LinkView.
class MeterLink : public QObject {
    Q_OBJECT

public:
    using WallClock = std::function<qint64()>;  // milliseconds since the epoch
    // When the search's first poll follows the model reply. The desktop waits out the reply's
    // limit and reopens the port before polling; the command line polls the port that answered
    // as soon as the reply is in, for its first reading at once.
    enum class FirstPoll { AfterReopen, AtOnce };

    MeterLink(core::AppState& state, DevicePort& comm1, QTimer& mainTimer, LinkView& view,
              Clock& clock, QObject* parent = nullptr);

    // The devices the search walks, in the system's order; the first is chosen and the live port
    // named after it.
    void SetDevices(QStringList devices);
    // Where the supervision looks for devices that appeared after the start, while no meter
    // answers.
    void SetDeviceLister(std::function<QStringList()> lister) { m_listDevices = std::move(lister); }
    const DeviceList& Devices() const { return m_devices; }

    void SetFirstPoll(FirstPoll when) { m_firstPoll = when; }
    void SearchMeter();
    void MainTimerTimer();
    void Comm1RxChar(Port& sender);
    // The user chose or typed a device. Why it did not open, naming it (OpenFailureText); empty
    // when it did.
    QString ComboBoxDeviceNameChange(const QString& chosenText);
    // The hidden baud-rate items.
    void ChangeBaudRate(int bitsPerSecond);

    // Port discipline of the exchanges with the meter. Quiescing waits (at most 3 s each) for a
    // running tick and receive handler and stops the poll; taking up polling reattaches the live
    // path, polls and restarts the timer.
    void QuiesceLivePath();
    void TakeUpPolling();
    // Before the setup is read: the live port closed and opened again with its receive handler
    // in place (the reply waits run no events, so it cannot take the reply). False when the port
    // stayed closed.
    bool ReopenForSetup();
    // Comm1: the port of the live path and of the setup exchanges.
    DevicePort& LivePort() const { return m_comm1; }
    // The download runs on Comm2, on Comm1's device and baud rate, while Comm1 is closed.
    void SwitchToDownloadPort(DevicePort& comm2);
    void ReturnFromDownloadPort(DevicePort& comm2);

    // The time every exchange on this link waits and measures its limits on.
    Clock& LinkClock() const { return m_clock; }

    // Every live frame cut from the line, parsed once, after the link state is updated; and the
    // link's losses and returns.
    LiveReadings& Readings() { return m_readings; }
    const LiveReadings& Readings() const { return m_readings; }
    // Called when a real-time sample is due, with the tick's time.
    void SetOnRealTimeSample(std::function<void(core::TDateTime now)> handler) {
        m_onRealTimeSample = std::move(handler);
    }
    // The time stamped on real-time samples; the system's time unless a test sets one.
    void SetWallClock(WallClock clock) { m_wallClock = std::move(clock); }
    // Now as an instant, for what keeps instants rather than wall-clock date-times.
    qint64 WallClockMs() const { return m_wallClock(); }

    // The devices that answered the last search's model query as another model, with the model
    // they named (ModelNamedIn).
    const QHash<QString, QString>& OtherModels() const { return m_otherModels; }

private:
    void DeclareLinkLost();
    void RestoreLink();
    void ShowChosenDevice();
    // The model query on the chosen device, which is open: whether a meter answered.
    bool ModelQueryAnswered();
    QString ConnectionPortText() const;
    // Without a meter, the poll moves on to the next device the system lists now.
    void LookElsewhere();
    void NoteConnectedDevice();
    // Opens the live port; a device that refuses the program is told about once (AccessNotices).
    bool OpenLivePort(int* failureCode = nullptr);
    // Comm1 closed and opened again with the live receive handler, and the first poll sent.
    void ReopenLivePortAndPoll();
    // The live receive handler on Comm1, which stays open, and the first poll sent.
    void PollOpenLivePort();

    core::AppState& m_state;
    DevicePort& m_comm1;
    QTimer& m_mainTimer;
    LinkView& m_view;
    Clock& m_clock;
    DeviceList m_devices;
    LiveReadings m_readings;
    std::function<void(core::TDateTime)> m_onRealTimeSample;
    WallClock m_wallClock;
    Clock::TimePoint m_previousTick;
    bool m_resynchronise = true;
    qint64 m_timerTick = 1000;  // the timer's interval at the first tick, in milliseconds
    std::function<QStringList()> m_listDevices;
    int m_silentTicksHere = 0;  // ticks without a meter on the present device
    AccessNotices m_access;
    QHash<QString, QString> m_otherModels;
    FirstPoll m_firstPoll = FirstPoll::AfterReopen;
};

// Texts of the status bar's connection panel.
inline const QString kOnConnection = QStringLiteral("On Connection");
inline const QString kOffConnection = QStringLiteral("Off Connection");

}  // namespace kr820::link
