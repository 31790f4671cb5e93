// SPDX-License-Identifier: MIT
#pragma once

#include <QHash>
#include <QObject>
#include <QTimer>
#include <chrono>
#include <functional>

#include "cli/ports_command.h"

namespace kr820::link {
class Clock;
}

namespace kr820::cli {

// Looks for meters on the serial devices nobody serves yet, for serve without --device: every
// device the system lists and those in $KR820_PORTS, each asked for the meter's model and closed
// again. A round runs at Start and then every `every`; a device that did not answer is asked
// again only every `retryEvery`, so that a port of something else is not pestered. Probing
// holds up the other meters' events for a reply's time limit at most, once per device.
class MeterScan : public QObject {
    Q_OBJECT

public:
    // `served` tells a device (a path as listed) that a meter already uses.
    MeterScan(PortMaker makePort, link::Clock& clock, std::function<bool(const QString&)> served,
              std::chrono::milliseconds every, std::chrono::milliseconds retryEvery);

    void Start();
    // One round now: what the timer does.
    void ScanOnce();

signals:
    // A meter answered on the device at `path`.
    void meterFound(const QString& path);

private:
    PortMaker m_makePort;
    link::Clock& m_clock;
    std::function<bool(const QString&)> m_served;
    std::chrono::milliseconds m_retryEvery;
    QTimer m_timer;
    bool m_scanning = false;
    // When each device that did not answer was last asked, on the link's clock.
    QHash<QString, std::chrono::steady_clock::time_point> m_silentSince;
};

}  // namespace kr820::cli
