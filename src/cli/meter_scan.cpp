// SPDX-License-Identifier: MIT
#include "cli/meter_scan.h"

#include "cli/cli_log.h"
#include "cli/meter_session.h"
#include "link/clock.h"
#include "link/com_devices.h"
#include "link/model_probe.h"
#include "link/port.h"
#include "link/port_attempts.h"

namespace kr820::cli {

MeterScan::MeterScan(PortMaker makePort, link::Clock& clock,
                     std::function<bool(const QString&)> served, std::chrono::milliseconds every,
                     std::chrono::milliseconds retryEvery)
    : m_makePort(std::move(makePort)),
      m_clock(clock),
      m_served(std::move(served)),
      m_retryEvery(retryEvery) {
    m_timer.setInterval(static_cast<int>(every.count()));
    connect(&m_timer, &QTimer::timeout, this, &MeterScan::ScanOnce);
}

void MeterScan::Start() {
    m_timer.start();
    ScanOnce();
}

void MeterScan::ScanOnce() {
    // A meter found starts its own search, which runs events: the timer may come round meanwhile.
    if (m_scanning) return;
    m_scanning = true;
    for (const QString& listed : MeterSession::DevicesToSearch({})) {
        if (m_clock.Stopping()) break;
        const QString path = link::ComDeviceName(listed);
        // A device listed but not there (a name in $KR820_PORTS, say) is looked at again next
        // round: when it appears it is new.
        if (m_served(path)) continue;
        const auto silent = m_silentSince.constFind(path);
        if (silent != m_silentSince.cend() && m_clock.Now() - *silent < m_retryEvery) continue;
        std::unique_ptr<link::DevicePort> port = m_makePort();
        link::Attempt(QStringLiteral("naming the port"), *port, [&] { port->SetDeviceName(path); });
        if (!port->DeviceExists()) continue;
        if (link::ProbeForMeter(*port, m_clock)) {
            m_silentSince.remove(path);
            emit meterFound(path);
        } else {
            qCDebug(lcServe, "no meter on %s", qPrintable(path));
            m_silentSince.insert(path, m_clock.Now());
        }
    }
    m_scanning = false;
}

}  // namespace kr820::cli
