// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <functional>

#include "core/state/app_state.h"

class QTimer;

namespace kr820::link {

class LinkView;
class TComPort;

// Finds the meter at start-up and supervises the link once a second: polls, declares the link
// lost after three ticks without a frame, restores it on the next frame, and keeps the ticks one
// second apart. It owns no window: what it shows goes through LinkView.
class MeterLink : public QObject {
    Q_OBJECT

public:
    using Clock = std::function<qint64()>;  // milliseconds, for the interval correction

    MeterLink(core::AppState& state, TComPort& comm1, QTimer& mainTimer, LinkView& view,
              QObject* parent = nullptr);

    void SearchMeter();
    void MainTimerTimer();
    void Comm1RxChar(TComPort& sender);
    // The user chose or typed a device.
    void ComboBoxDeviceNameChange();
    // The hidden baud-rate items.
    void ChangeBaudRate(int bitsPerSecond);

    // Port discipline of the exchanges with the meter. Quiescing waits (at most 3 s each) for a
    // running tick and receive handler and stops the poll; taking up polling reattaches the live
    // path, polls and restarts the timer.
    void QuiesceLivePath();
    void TakeUpPolling();
    // The download runs on Comm2, on Comm1's device and baud rate, while Comm1 is closed.
    void SwitchToDownloadPort(TComPort& comm2);
    void ReturnFromDownloadPort(TComPort& comm2);

    // Called for every live frame cut from the stream, after the link state is updated.
    void SetOnLiveFrame(std::function<void(const QByteArray& frame)> handler) {
        m_onLiveFrame = std::move(handler);
    }
    // Called when a real-time sample is due, with the tick's time.
    void SetOnRealTimeSample(std::function<void(core::TDateTime now)> handler) {
        m_onRealTimeSample = std::move(handler);
    }
    void SetClock(Clock clock) { m_clock = std::move(clock); }

private:
    void DeclareLinkLost();
    void RestoreLink();
    void CorrectInterval();
    QString ConnectionPortText() const;

    core::AppState& m_state;
    TComPort& m_comm1;
    QTimer& m_mainTimer;
    LinkView& m_view;
    std::function<void(const QByteArray&)> m_onLiveFrame;
    std::function<void(core::TDateTime)> m_onRealTimeSample;
    Clock m_clock;
    qint64 m_previousTickMs = 0;
    bool m_resynchronise = true;
};

// Texts of the status bar's connection panel.
inline const QString kOnConnection = QStringLiteral("On Connection");
inline const QString kOffConnection = QStringLiteral("Off Connection");

}  // namespace kr820::link
