// SPDX-License-Identifier: MIT
#include "link/meter_link.h"

#include <QDateTime>
#include <QTimer>

#include "core/live/live_frame_parser.h"
#include "core/protocol/command_table.h"
#include "core/protocol/exchange_limits.h"
#include "core/protocol/live_frame_cutter.h"
#include "link/com_devices.h"
#include "link/link_view.h"
#include "link/model_probe.h"
#include "link/port.h"
#include "link/port_attempts.h"
#include "link/wait.h"

namespace kr820::link {
namespace {

using core::kExchangeLimits;

constexpr int kReadChunkBytes = 256;  // more waits in the driver for the next receive event

}  // namespace

MeterLink::MeterLink(core::AppState& state, DevicePort& comm1, QTimer& mainTimer, LinkView& view,
                     Clock& clock, QObject* parent)
    : QObject(parent),
      m_state(state),
      m_comm1(comm1),
      m_mainTimer(mainTimer),
      m_view(view),
      m_clock(clock),
      m_wallClock([] { return QDateTime::currentMSecsSinceEpoch(); }) {}

QString MeterLink::ConnectionPortText() const { return m_comm1.DeviceName(); }

void MeterLink::NoteConnectedDevice() {
    m_state.LastConnectedDevice = m_comm1.DeviceName();
    m_silentTicksHere = 0;
}

bool MeterLink::OpenLivePort(int* failureCode) {
    // Without a chosen device the port's name would be the prefix alone.
    if (m_devices.ChosenText().isEmpty()) return false;
    int failure = 0;
    const bool opened = TryOpen(m_comm1, &failure);
    if (failureCode) *failureCode = failure;
    const QString device = m_comm1.DeviceName();
    QString news;
    if (opened) {
        m_access.Opened(device);
    } else {
        news = m_access.Refused(device, failure);
    }
    m_view.ShowAccessRefusals(m_access.Standing());
    if (!news.isEmpty()) m_view.TellAccessRefusal(news);
    return opened;
}

void MeterLink::LookElsewhere() {
    QStringList devices = m_listDevices ? m_listDevices() : m_devices.Entries();
    // A device the user typed stays in the round.
    const QString chosen = m_devices.ChosenText();
    if (!chosen.isEmpty() && !devices.contains(chosen)) devices << chosen;
    if (devices.isEmpty()) return;
    const int next = static_cast<int>((devices.indexOf(chosen) + 1) % devices.size());
    m_devices = DeviceList(devices);
    m_devices.Choose(next);
    m_comm1.Close();
    ShowChosenDevice();
    m_state.CurrentPortIndex = next;
    m_view.SetStatusPanels(ConnectionPortText(), kOffConnection);
    if (OpenLivePort()) m_comm1.PurgeInput();
}

void MeterLink::SetDevices(QStringList devices) {
    m_devices = DeviceList(std::move(devices));
    ShowChosenDevice();
}

void MeterLink::ShowChosenDevice() {
    m_view.ShowDevices(m_devices);
    const QString name = ComDeviceName(m_devices.ChosenText());
    Attempt(QStringLiteral("naming the port"), m_comm1, [&] { m_comm1.SetDeviceName(name); });
}

bool MeterLink::ModelQueryAnswered() {
    m_comm1.PurgeInput();
    SendCommand(m_comm1, core::kModelQuery);
    if (m_firstPoll == FirstPoll::AtOnce) {
        WaitWhile(
            m_clock, [this] { return m_comm1.InputCount() < core::kModelReplyBytes; },
            core::kModelQuery.replyLimit);
    } else {
        m_clock.Pause(core::kModelQuery.replyLimit);
    }
    if (m_comm1.InputCount() < core::kModelReplyBytes) return false;
    QByteArray reply;
    Attempt(QStringLiteral("reading the model"), m_comm1,
            [&] { reply = m_comm1.Read(core::kModelReplyBytes); });
    const bool meter = IsModelReply(reply);
    if (!meter && reply.size() == core::kModelReplyBytes)
        m_otherModels.insert(m_comm1.DeviceName(), ModelNamedIn(reply));
    return meter;
}

void MeterLink::SearchMeter() {
    m_otherModels.clear();
    const int attempts = m_devices.Count();
    int i = -1;
    for (int attempt = 0; attempt < attempts && !m_clock.Stopping(); ++attempt) {
        ++i;
        m_devices.Choose(i);
        ShowChosenDevice();
        m_comm1.SetOnRxChar(nullptr);
        m_view.SetSplashStatus(QStringLiteral("Searching Meter on ") + m_devices.ChosenText());
        // A device that is not there has nothing to settle: it fails to open at once.
        if (m_comm1.DeviceExists()) m_clock.Pause(kExchangeLimits.searchSettle);

        if (!OpenLivePort()) {
            // A device that cannot be opened leaves the list; the next one moves into its place.
            // The last one stays: the supervision keeps trying it, and an empty list would leave
            // the port on no device at all.
            if (m_devices.ChosenIndex() >= 0 && m_devices.Count() > 1) {
                m_devices.Remove(m_devices.ChosenIndex());
                m_view.ShowDevices(m_devices);
                --i;
            }
            continue;
        }
        if (ModelQueryAnswered()) {
            m_state.ModelCode = 820;
            m_state.Connected = true;
            m_state.LastConnectedPort = m_state.CurrentPortIndex = i;
            NoteConnectedDevice();
            break;
        }
        m_comm1.Close();
    }
    m_view.StateChanged();

    if (m_state.Connected) {
        m_state.LastConnectedModel = m_state.ModelCode;
        m_view.ShowNoConnection(false);
        m_view.SetStatusPanels(m_comm1.DeviceName(), kOnConnection);
    } else {
        m_state.ModelCode = 820;
        // None remembered (the last run ended on a typed device) is as on a first run.
        if (m_state.LastConnectedPort < 0 || m_state.LastConnectedPort >= m_devices.Count())
            m_state.LastConnectedPort = 0;
        m_devices.Choose(m_state.LastConnectedPort < m_devices.Count() ? m_state.LastConnectedPort
                                                                       : -1);
        ShowChosenDevice();
        m_state.CurrentPortIndex = m_state.LastConnectedPort;
        m_view.ShowNoConnection(true);
        m_view.SetStatusPanels(m_comm1.DeviceName(), kOffConnection);
    }

    // The remembered port is polled even without a meter, so that one switched on later is
    // picked up by the supervision without a new search.
    if (m_state.Connected && m_firstPoll == FirstPoll::AtOnce)
        PollOpenLivePort();
    else
        ReopenLivePortAndPoll();
}

void MeterLink::MainTimerTimer() {
    m_state.TimerBusy = true;
    const Clock::TimePoint now = m_clock.Now();
    ++m_state.RateTicks;

    if (m_state.FrameReceived) {
        m_state.FrameReceived = false;
        m_state.MissedTicks = 0;
        if (m_state.RealTimeRecording && m_state.RateTicks >= m_state.RealTimeRate) {
            m_state.RateTicks = 0;
            if (m_onRealTimeSample)
                m_onRealTimeSample(
                    core::ToTDateTime(QDateTime::fromMSecsSinceEpoch(m_wallClock())));
        }
    } else if (++m_state.MissedTicks >= kExchangeLimits.ticksBeforeLinkLost) {
        DeclareLinkLost();
    }

    // A meter unplugged and plugged back appears under the same name again: reopen the port that
    // closed itself, so that supervision can find the meter without the user choosing it anew.
    if (!m_comm1.Active() && m_comm1.DeviceLost() && OpenLivePort()) m_comm1.PurgeInput();
    // Without a meter, each device gets as many ticks as a lost link is given, then the poll
    // moves on: a meter plugged in after the start is found without the user. A connected
    // meter is polled as always.
    if (m_state.Connected) {
        m_silentTicksHere = 0;
    } else if (++m_silentTicksHere > kExchangeLimits.ticksBeforeLinkLost) {
        m_silentTicksHere = 0;
        LookElsewhere();
    }
    if (m_comm1.Active()) SendCommand(m_comm1, core::kPoll);

    const qint64 tick = kExchangeLimits.tick.count();
    if (m_resynchronise) {
        m_resynchronise = false;
        // What the timer was given is a second of the link's clock in the timer's own time:
        // shorter only where a test runs the clock faster than the wall.
        m_timerTick = m_mainTimer.interval() > 0 ? m_mainTimer.interval() : tick;
    } else {
        // Measured on the link's clock, corrected in the timer's time.
        const qint64 drift =
            std::chrono::duration_cast<std::chrono::milliseconds>(now - m_previousTick).count() -
            tick;
        const qint64 interval = m_mainTimer.interval() - drift * m_timerTick / tick;
        const qint64 shortest = kExchangeLimits.shortestTick.count() * m_timerTick / tick;
        m_mainTimer.setInterval(static_cast<int>(std::max(interval, shortest)));
    }
    m_previousTick = now;
    m_state.TimerBusy = false;
}

void MeterLink::DeclareLinkLost() {
    m_view.SetStatusPanels(ConnectionPortText(), kOffConnection);
    m_view.ShowNoConnection(true);
    const bool wasConnected = m_state.Connected;
    if (wasConnected) m_state.LiveBuffer.clear();
    m_state.Connected = false;
    m_state.RateTicks = 0;
    m_state.MissedTicks = 0;
    m_view.StateChanged();
    if (wasConnected) m_readings.PublishLinkLost(m_wallClock());
}

void MeterLink::RestoreLink() {
    m_view.SetStatusPanels(ConnectionPortText(), kOnConnection);
    m_view.ShowNoConnection(false);
    m_state.Connected = true;
    m_view.StateChanged();
    m_state.LastConnectedPort = m_state.CurrentPortIndex;
    NoteConnectedDevice();
    m_readings.PublishLinkRestored(m_wallClock());
}

void MeterLink::Comm1RxChar(Port& sender) {
    m_state.RxBusy = true;
    const int waiting = std::min(sender.InputCount(), kReadChunkBytes);
    // A failed read leaves the bytes for the next event; the frames already buffered still count.
    if (waiting > 0)
        Attempt(QStringLiteral("reading live frames"), sender,
                [&] { m_state.LiveBuffer.append(sender.Read(waiting)); });
    core::CutLiveFrames(m_state.LiveBuffer, [this](const QByteArray& frame) {
        m_state.FrameReceived = true;
        if (!m_state.Connected) RestoreLink();
        m_readings.Publish(core::ParseLiveFrame(frame), m_wallClock());
    });
    m_state.RxBusy = false;
}

QString MeterLink::ComboBoxDeviceNameChange(const QString& chosenText) {
    WaitWhile(
        m_clock, [this] { return m_state.TimerBusy; }, kExchangeLimits.busyLimit);
    m_comm1.Close();
    m_devices.ChooseText(chosenText);
    Attempt(QStringLiteral("naming the port"), m_comm1,
            [&] { m_comm1.SetDeviceName(ComDeviceName(chosenText)); });
    int failure = 0;
    const bool opened = OpenLivePort(&failure);
    m_state.CurrentPortIndex = m_state.LastConnectedPort = m_devices.ChosenIndex();
    return opened ? QString() : OpenFailureText(m_comm1.DeviceName(), failure);
}

void MeterLink::QuiesceLivePath() {
    WaitWhile(
        m_clock, [this] { return m_state.TimerBusy; }, kExchangeLimits.busyLimit);
    m_mainTimer.stop();
    WaitWhile(
        m_clock, [this] { return m_state.RxBusy; }, kExchangeLimits.busyLimit);
}

void MeterLink::TakeUpPolling() {
    ReopenLivePortAndPoll();
    m_mainTimer.start();
}

void MeterLink::ReopenLivePortAndPoll() {
    m_comm1.Close();
    m_comm1.SetOnRxChar([this](Port& sender) { Comm1RxChar(sender); });
    m_clock.Pause(kExchangeLimits.reopenSettle);
    if (OpenLivePort()) {
        m_comm1.PurgeInput();
        SendCommand(m_comm1, core::kPoll);
    }
}

void MeterLink::PollOpenLivePort() {
    m_comm1.SetOnRxChar([this](Port& sender) { Comm1RxChar(sender); });
    m_comm1.PurgeInput();
    SendCommand(m_comm1, core::kPoll);
}

bool MeterLink::ReopenForSetup() {
    m_comm1.Close();
    m_comm1.SetOnRxChar([this](Port& sender) { Comm1RxChar(sender); });
    m_clock.Pause(kExchangeLimits.setupSettle);
    return OpenLivePort();
}

void MeterLink::SwitchToDownloadPort(DevicePort& comm2) {
    m_comm1.Close();
    comm2.Close();
    Attempt(QStringLiteral("naming the download port"), comm2,
            [&] { comm2.SetDeviceName(m_comm1.DeviceName()); });
    Attempt(QStringLiteral("setting the download port's baud rate"), comm2,
            [&] { comm2.SetBaudRate(m_comm1.BaudRate()); });
    comm2.SetOnRxChar(nullptr);
    m_clock.Pause(kExchangeLimits.reopenSettle);
    // A port that stays closed gets no header: the download reports a read error.
    OpenOrReport(comm2);
}

void MeterLink::ReturnFromDownloadPort(DevicePort& comm2) {
    // No poll here: the next tick polls.
    comm2.Close();
    OpenLivePort();
    m_clock.Pause(kExchangeLimits.reopenSettle);
    m_mainTimer.start();
}

void MeterLink::ChangeBaudRate(int bitsPerSecond) {
    WaitWhile(
        m_clock, [this] { return m_state.RxBusy; }, kExchangeLimits.busyLimit);
    m_comm1.Close();
    Attempt(QStringLiteral("changing the baud rate"), m_comm1,
            [&] { m_comm1.SetBaudRate(bitsPerSecond); });
    m_clock.Pause(kExchangeLimits.reopenSettle);
    OpenLivePort();
}

}  // namespace kr820::link
