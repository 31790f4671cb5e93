// SPDX-License-Identifier: MIT
#include "scripted_port.h"

#include <algorithm>
#include <cstring>

#include "link/com_error.h"

namespace kr820::testing {

void ScriptedPort::Arrive(const QByteArray& bytes, std::chrono::milliseconds after) {
    if (bytes.isEmpty() || !m_open) return;
    const Arrival arrival{m_clock.Now() + after, bytes};
    const auto place = std::upper_bound(
        m_arrivals.begin(), m_arrivals.end(), arrival.at,
        [](link::Clock::TimePoint at, const Arrival& other) { return at < other.at; });
    m_arrivals.insert(place, arrival);
}

void ScriptedPort::Unplug() {
    Close();
    m_lost = true;
}

void ScriptedPort::DeliverRxChar() {
    if (m_onRxChar && InputCount() > 0) m_onRxChar(*this);
}

void ScriptedPort::Collect() {
    while (!m_arrivals.empty() && m_arrivals.front().at <= m_clock.Now()) {
        m_input += m_arrivals.front().bytes;
        m_arrivals.pop_front();
    }
}

void ScriptedPort::RequireOpen() const {
    if (!m_open) throw link::EComError(0, link::kClosedPortMessage);
}

int ScriptedPort::InputCount() {
    if (!m_open) return 0;
    Collect();
    return static_cast<int>(m_input.size());
}

int ScriptedPort::Read(char* buffer, int count) {
    RequireOpen();
    if (!m_readFailure.isEmpty()) throw link::EComError(5, m_readFailure);
    Collect();
    const int taken = std::min(count, static_cast<int>(m_input.size()));
    std::copy_n(m_input.constData(), taken, buffer);
    m_input.remove(0, taken);
    return taken;
}

void ScriptedPort::Write(const char* data, int count) {
    RequireOpen();
    const QByteArray bytes(data, count);
    m_writes.push_back({m_name, bytes, m_clock.Now()});
    Arrive(m_devices.at(m_name)(bytes), answerDelay);
}

void ScriptedPort::PurgeInput() {
    if (!m_open) return;
    Collect();
    m_input.clear();
}

bool ScriptedPort::WaitForReadable(std::chrono::milliseconds limit) {
    if (InputCount() > 0) return true;
    const link::Clock::TimePoint until = m_clock.Now() + limit;
    if (m_open && !m_arrivals.empty() && m_arrivals.front().at <= until) {
        m_clock.AdvanceTo(m_arrivals.front().at);
        return InputCount() > 0;
    }
    m_clock.AdvanceTo(until);
    return false;
}

void ScriptedPort::Open() {
    if (m_open) return;
    if (!m_devices.contains(m_name))
        throw link::EComError(2, QStringLiteral("No such file or directory"));
    if (const auto refusal = m_refusals.find(m_name);
        refusal != m_refusals.end() && refusal->second != 0)
        throw link::EComError(refusal->second, QString::fromLocal8Bit(strerror(refusal->second)));
    m_open = true;
    m_lost = false;
    ++m_opens;
}

void ScriptedPort::Close() {
    if (!m_open) return;
    m_open = false;
    m_lost = false;
    m_input.clear();
    m_arrivals.clear();
}

void ScriptedPort::SetDeviceName(const QString& name) {
    if (m_open) throw link::EComError(0, link::kOpenPortMessage);
    m_name = name;
}

}  // namespace kr820::testing
