// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QStringList>
#include <QTimer>
#include <chrono>
#include <functional>

#include "cli/cli_io.h"
#include "cli/exit_codes.h"
#include "core/live/live_reading.h"
#include "core/live/reading_fan_out.h"
#include "core/state/app_state.h"
#include "link/link_view.h"
#include "link/meter_link.h"

namespace kr820::link {
class DevicePort;
}

namespace kr820::cli {

// The link as the desktop program runs it, without windows: the same search and supervision, its
// changes told on stderr once the meter was found.
class MeterSession : private link::LinkView {
public:
    // `tick` is the supervision's tick in real time; tests pass a shorter one with a fast clock.
    MeterSession(link::DevicePort& comm1, link::Clock& clock, CliIo& io,
                 std::chrono::milliseconds tick);
    ~MeterSession() override;

    // The devices to search: `device`, or the system's list and $KR820_PORTS.
    static QStringList DevicesToSearch(const QString& device);

    // Searches the devices and starts the supervision; false when no meter answered (the
    // supervision then goes on looking). When a device answered as another model, the
    // SetOnOtherModel handler hears so.
    bool Find(const QStringList& devices);
    // Runs events until a live frame has come since the call, at most `limit` on the clock.
    bool AwaitFrame(std::chrono::milliseconds limit);
    // Why `device` cannot be opened as the meter's port, in the link's words; empty when it
    // opens. For a device named on the command line, which is not searched for: its fault is the
    // answer. The port is closed again.
    QString DeviceProblem(const QString& device);
    // The line that refuses the devices the search found answering as another model (no meter
    // this program knows how to talk to); empty when none did.
    QString OtherModelRefusal() const;
    // The port is on a device that answered the model query as another model: its frames are
    // not the meter's readings.
    bool OnOtherModel() const;
    // A stop was asked for: the command ends without its result.
    bool Stopping() const { return m_clock.Stopping(); }

    // Hands every live frame's reading of this meter to `handler`, at its stage of the link's
    // fan-out; another model's frames are no reading and go to the SetOnOtherModel handler.
    void OnReading(core::ReadingStage stage, std::function<void(const core::LiveReading&)> handler);
    // Called with the line that refuses the devices that answered the search's model query as
    // another model: when the search found no meter, and instead of the reading for a frame
    // from one of them (the supervision polls every device it looks at once the meter is lost).
    void SetOnOtherModel(std::function<void(const QString&)> handler) {
        m_onOtherModel = std::move(handler);
    }
    // Lost and regained links are told on stderr from now on.
    void ReportLinkChanges() {
        m_reportChanges = true;
        m_lostTold = !m_state.Connected;
    }

    core::AppState& State() { return m_state; }
    link::MeterLink& Link() { return m_link; }
    link::Clock& LinkClock() { return m_clock; }
    QString DeviceName() const;

private:
    void ShowDevices(const link::DeviceList&) override {}
    void SetSplashStatus(const QString&) override {}
    void SetStatusPanels(const QString&, const QString&) override {}
    void StateChanged() override {}
    void ShowNoConnection(bool shown) override;
    void ShowAccessRefusals(const QString&) override {}
    // The link tells each refusing device once; the line says what to do about it.
    void TellAccessRefusal(const QString& text) override;

    link::DevicePort& m_comm1;
    link::Clock& m_clock;
    CliIo& m_io;
    core::AppState m_state;
    QTimer m_mainTimer;
    link::MeterLink m_link;
    std::function<void(const QString&)> m_onOtherModel;
    bool m_reportChanges = false;
    bool m_lostTold = false;
};

// Finds the meter (on `device`, or searching) and waits for its first reading, for the commands
// that exchange with it: Success, NoMeter, MeterRecording while it logs, or the exit of a stop.
// Says why on stderr.
ExitCode ReachIdleMeter(MeterSession& session, const QString& device, CliIo& io);

}  // namespace kr820::cli
