// SPDX-License-Identifier: MIT
#include "link/meter_link.h"

#include <QDateTime>
#include <QTimer>

#include "core/protocol/live_frame_cutter.h"
#include "link/com_devices.h"
#include "link/com_port.h"
#include "link/link_view.h"
#include "link/send_command.h"
#include "link/wait.h"

namespace kr820::link {
namespace {

constexpr int kModelReplyBytes = 6;
constexpr int kReadChunkBytes = 256;  // more waits in the driver for the next receive event
constexpr int kTicksBeforeLinkLost = 3;
constexpr int kTickMs = 1000;
constexpr int kShortestIntervalMs = 500;
constexpr std::chrono::milliseconds kBusyLimit{3000};

const QByteArray kModelQuery = QByteArrayLiteral("K");
const QByteArray kLivePoll = QByteArrayLiteral("A");

}  // namespace

MeterLink::MeterLink(core::AppState& state, TComPort& comm1, QTimer& mainTimer, LinkView& view,
                     QObject* parent)
    : QObject(parent),
      m_state(state),
      m_comm1(comm1),
      m_mainTimer(mainTimer),
      m_view(view),
      m_clock([] { return QDateTime::currentMSecsSinceEpoch(); }) {}

QString MeterLink::ConnectionPortText() const {
    return QStringLiteral("COM") + QString::number(m_state.CurrentPortIndex + 1);
}

void MeterLink::SearchMeter() {
    const int attempts = m_view.DeviceCount();
    int i = -1;
    for (int attempt = 0; attempt < attempts; ++attempt) {
        ++i;
        m_view.SelectDevice(i < m_view.DeviceCount() ? i : -1);
        TrySetDeviceName(m_comm1, ComDeviceName(m_view.SelectedDeviceText()));
        m_comm1.SetOnRxChar(nullptr);
        m_view.SetSplashStatus(QStringLiteral("Searching Meter on ") + m_view.SelectedDeviceText());
        WaitMs(300);

        if (!TryOpen(m_comm1)) {
            // A device that cannot be opened leaves the list; the next one moves into its place.
            if (m_view.SelectedDeviceIndex() >= 0)
                m_view.RemoveDevice(m_view.SelectedDeviceIndex());
            --i;
            continue;
        }
        m_comm1.PurgeInput();
        SendCommand(m_comm1, kModelQuery);
        WaitMs(500);

        if (m_comm1.InputCount() < kModelReplyBytes) {
            TryClose(m_comm1);
            continue;
        }
        const QByteArray reply = m_comm1.Read(kModelReplyBytes);
        if (reply.size() == kModelReplyBytes && reply.contains("820")) {
            m_view.EnableRun(true);
            m_view.EnableStop(false);
            m_state.ModelCode = 820;
            m_state.Connected = true;
            m_state.LastConnectedPort = m_state.CurrentPortIndex = i;
            break;
        }
        TryClose(m_comm1);
    }

    if (m_state.Connected) {
        m_state.LastConnectedModel = m_state.ModelCode;
        m_view.ShowNoConnection(false);
        m_view.SetStatusPanels(m_comm1.DeviceName(), kOnConnection);
    } else {
        m_state.ModelCode = 820;
        if (m_state.LastConnectedPort >= m_view.DeviceCount()) m_state.LastConnectedPort = 0;
        m_view.SelectDevice(
            m_state.LastConnectedPort < m_view.DeviceCount() ? m_state.LastConnectedPort : -1);
        TrySetDeviceName(m_comm1, ComDeviceName(m_view.SelectedDeviceText()));
        m_state.CurrentPortIndex = m_state.LastConnectedPort;
        m_view.ShowNoConnection(true);
        m_view.SetStatusPanels(m_comm1.DeviceName(), kOffConnection);
    }

    // The remembered port is polled even without a meter, so that one switched on later is
    // picked up by the supervision without a new search.
    TryClose(m_comm1);
    m_comm1.SetOnRxChar([this](TComPort& sender) { Comm1RxChar(sender); });
    WaitMs(500);
    TryOpen(m_comm1);
    m_comm1.PurgeInput();
    if (m_comm1.Active()) SendCommand(m_comm1, kLivePoll);
}

void MeterLink::MainTimerTimer() {
    m_state.TimerBusy = true;
    const qint64 nowMs = m_clock();
    ++m_state.RateTicks;

    if (m_state.FrameReceived) {
        m_state.FrameReceived = false;
        m_state.MissedTicks = 0;
        if (m_state.RealTimeRecording && m_state.RateTicks >= m_state.RealTimeRate) {
            m_state.RateTicks = 0;
            if (m_onRealTimeSample)
                m_onRealTimeSample(core::ToTDateTime(QDateTime::fromMSecsSinceEpoch(nowMs)));
            m_state.RealTimeUnsaved = true;
        }
    } else if (++m_state.MissedTicks >= kTicksBeforeLinkLost) {
        DeclareLinkLost();
    }

    // A meter unplugged and plugged back appears under the same name again: reopen the port that
    // closed itself, so that supervision can find the meter without the user choosing it anew.
    if (!m_comm1.Active() && m_comm1.DeviceLost() && TryOpen(m_comm1)) m_comm1.PurgeInput();
    if (m_comm1.Active()) SendCommand(m_comm1, kLivePoll);

    if (m_resynchronise) {
        m_resynchronise = false;
    } else {
        const qint64 driftMs = (nowMs - m_previousTickMs) - kTickMs;
        const qint64 interval = m_mainTimer.interval() - driftMs;
        m_mainTimer.setInterval(static_cast<int>(std::max<qint64>(interval, kShortestIntervalMs)));
    }
    m_previousTickMs = nowMs;
    m_state.TimerBusy = false;
}

void MeterLink::DeclareLinkLost() {
    m_view.EnableRun(false);
    m_view.EnableStop(false);
    m_view.EnableDataLogger(false);
    m_view.SetStatusPanels(ConnectionPortText(), kOffConnection);
    m_view.ShowNoConnection(true);
    if (m_state.Connected) m_state.LiveBuffer.clear();
    m_state.Connected = false;
    m_state.RateTicks = 0;
    m_state.MissedTicks = 0;
}

void MeterLink::RestoreLink() {
    m_view.EnableDataLogger(true);
    m_view.SetStatusPanels(ConnectionPortText(), kOnConnection);
    m_view.ShowNoConnection(false);
    m_view.EnableRun(!m_state.RealTimeRecording);
    m_view.EnableStop(m_state.RealTimeRecording);
    m_state.Connected = true;
}

void MeterLink::Comm1RxChar(TComPort& sender) {
    m_state.RxBusy = true;
    const int waiting = std::min(sender.InputCount(), kReadChunkBytes);
    if (waiting > 0) {
        try {
            m_state.LiveBuffer.append(sender.Read(waiting));
        } catch (const EAbort&) {
        } catch (const EComError&) {
        }
    }
    core::CutLiveFrames(m_state.LiveBuffer, [this](const QByteArray& frame) {
        m_state.FrameReceived = true;
        if (!m_state.Connected) RestoreLink();
        if (m_onLiveFrame) m_onLiveFrame(frame);
    });
    m_state.RxBusy = false;
}

void MeterLink::ComboBoxDeviceNameChange() {
    WaitWhile([this] { return m_state.TimerBusy; }, kBusyLimit);
    TryClose(m_comm1);
    TrySetDeviceName(m_comm1, ComDeviceName(m_view.SelectedDeviceText()));
    TryOpen(m_comm1);
    m_state.CurrentPortIndex = m_state.LastConnectedPort = m_view.SelectedDeviceIndex();
}

void MeterLink::QuiesceLivePath() {
    WaitWhile([this] { return m_state.TimerBusy; }, kBusyLimit);
    m_mainTimer.stop();
    WaitWhile([this] { return m_state.RxBusy; }, kBusyLimit);
}

void MeterLink::TakeUpPolling() {
    TryClose(m_comm1);
    m_comm1.SetOnRxChar([this](TComPort& sender) { Comm1RxChar(sender); });
    WaitMs(500);
    TryOpen(m_comm1);
    m_comm1.PurgeInput();
    SendCommand(m_comm1, kLivePoll);
    m_mainTimer.start();
}

void MeterLink::SwitchToDownloadPort(TComPort& comm2) {
    TryClose(m_comm1);
    TryClose(comm2);
    TrySetDeviceName(comm2, m_comm1.DeviceName());
    TrySetBaudRate(comm2, m_comm1.BaudRate());
    comm2.SetOnRxChar(nullptr);
    WaitMs(500);
    TryOpen(comm2);
}

void MeterLink::ReturnFromDownloadPort(TComPort& comm2) {
    // No poll here: the next tick polls.
    TryClose(comm2);
    TryOpen(m_comm1);
    WaitMs(500);
    m_mainTimer.start();
}

void MeterLink::ChangeBaudRate(int bitsPerSecond) {
    WaitWhile([this] { return m_state.RxBusy; }, kBusyLimit);
    TryClose(m_comm1);
    TrySetBaudRate(m_comm1, bitsPerSecond);
    WaitMs(500);
    TryOpen(m_comm1);
}

}  // namespace kr820::link
