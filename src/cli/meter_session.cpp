// SPDX-License-Identifier: MIT
#include "cli/meter_session.h"

#include "cli/cli_log.h"
#include "cli/stoppable_clock.h"
#include "core/protocol/exchange_limits.h"
#include "link/access_refusal.h"
#include "link/com_devices.h"
#include "link/port.h"
#include "link/port_attempts.h"

namespace kr820::cli {
namespace {

QString OtherModelLine(const QString& device, const QString& model) {
    return QStringLiteral("'%1' answers as model %2, not as a KR820; it is not used")
        .arg(device, model);
}

}  // namespace

MeterSession::MeterSession(link::DevicePort& comm1, link::Clock& clock, CliIo& io,
                           std::chrono::milliseconds tick)
    : m_comm1(comm1), m_clock(clock), m_io(io), m_link(m_state, comm1, m_mainTimer, *this, clock) {
    // A command waits on its first reading: it comes as soon as the meter answers the search.
    m_link.SetFirstPoll(link::MeterLink::FirstPoll::AtOnce);
    m_mainTimer.setInterval(static_cast<int>(tick.count()));
    m_mainTimer.setTimerType(Qt::PreciseTimer);
    QObject::connect(&m_mainTimer, &QTimer::timeout, &m_link, [this] { m_link.MainTimerTimer(); });
    // Told before any sink of this meter's readings would have had the frame.
    m_link.Readings().FanOut().Attach(
        core::ReadingStage::Alarms, &m_link, {.Reading = [this](const core::LiveReading&) {
            if (!OnOtherModel() || !m_onOtherModel) return;
            const QString device = m_comm1.DeviceName();
            m_onOtherModel(OtherModelLine(device, m_link.OtherModels().value(device)));
        }});
}

void MeterSession::OnReading(core::ReadingStage stage,
                             std::function<void(const core::LiveReading&)> handler) {
    m_link.Readings().FanOut().Attach(
        stage, &m_link,
        {.Reading = [this, handler = std::move(handler)](const core::LiveReading& reading) {
            if (!OnOtherModel()) handler(reading);
        }});
}

MeterSession::~MeterSession() {
    m_mainTimer.stop();
    m_comm1.SetOnRxChar(nullptr);
    m_comm1.Close();
}

QStringList MeterSession::DevicesToSearch(const QString& device) {
    if (!device.isEmpty()) return {device};
    QStringList devices;
    link::EnumComDevices(devices);
    return devices;
}

bool MeterSession::OnOtherModel() const {
    return m_link.OtherModels().contains(m_comm1.DeviceName());
}

QString MeterSession::DeviceName() const { return m_comm1.DeviceName(); }

bool MeterSession::Find(const QStringList& devices) {
    m_link.SetDevices(devices);
    // Without devices to try the search would leave the port on a name nobody chose.
    if (devices.isEmpty()) return false;
    qCInfo(lcCli).noquote() << "searching the meter on" << devices.join(QStringLiteral(", "));
    m_link.SearchMeter();
    m_mainTimer.start();
    if (m_state.Connected) qCInfo(lcCli).noquote() << "the meter answers on" << DeviceName();
    if (!m_state.Connected && !m_link.OtherModels().isEmpty() && m_onOtherModel)
        m_onOtherModel(OtherModelRefusal());
    return m_state.Connected;
}

bool MeterSession::AwaitFrame(std::chrono::milliseconds limit) {
    const qint64 before = m_link.Readings().ReadingCount();
    const link::Clock::TimePoint start = m_clock.Now();
    while (m_link.Readings().ReadingCount() == before && !m_clock.Stopping() &&
           m_clock.Now() - start < limit)
        m_clock.Pause(std::chrono::milliseconds(10));
    return m_link.Readings().ReadingCount() != before;
}

QString MeterSession::DeviceProblem(const QString& device) {
    m_comm1.Close();
    link::Attempt(QStringLiteral("naming the port"), m_comm1,
                  [&] { m_comm1.SetDeviceName(link::ComDeviceName(device)); });
    int failure = 0;
    if (link::TryOpen(m_comm1, &failure)) {
        m_comm1.Close();
        return {};
    }
    return link::OpenFailureText(m_comm1.DeviceName(), failure);
}

QString MeterSession::OtherModelRefusal() const {
    QStringList lines;
    const QHash<QString, QString>& others = m_link.OtherModels();
    for (auto other = others.cbegin(); other != others.cend(); ++other)
        lines << OtherModelLine(other.key(), other.value());
    lines.sort();
    return lines.join(QStringLiteral("; "));
}

void MeterSession::ShowNoConnection(bool shown) {
    if (!m_reportChanges || shown == m_lostTold) return;
    m_lostTold = shown;
    Tell(m_io, shown ? QStringLiteral("no answer from the meter on %1; waiting for it")
                           .arg(m_comm1.DeviceName())
                     : QStringLiteral("the meter answers again on %1").arg(m_comm1.DeviceName()));
}

void MeterSession::TellAccessRefusal(const QString& text) { Say(m_io, text); }

ExitCode ReachIdleMeter(MeterSession& session, const QString& device, CliIo& io) {
    const QStringList devices = MeterSession::DevicesToSearch(device);
    if (devices.isEmpty()) {
        Say(io, QStringLiteral("no serial devices to search; name one with --device"));
        return ExitCode::NoMeter;
    }
    if (!device.isEmpty()) {
        if (const QString problem = session.DeviceProblem(device); !problem.isEmpty()) {
            Say(io, problem);
            return ExitCode::NoMeter;
        }
    }
    // The desktop refuses these commands while the meter logs, which a live frame tells: wait
    // for one, as long as the supervision would before declaring the link lost.
    const auto frameLimit = core::kExchangeLimits.tick * core::kExchangeLimits.ticksBeforeLinkLost;
    const bool answered = session.Find(devices) && session.AwaitFrame(frameLimit);
    if (session.Stopping()) return StoppedExit();
    if (!answered) {
        const QString otherModel = session.OtherModelRefusal();
        Say(io,
            !otherModel.isEmpty()
                ? otherModel
                : QStringLiteral("no meter answers on %1").arg(devices.join(QStringLiteral(", "))));
        return ExitCode::NoMeter;
    }
    if (session.Link().Readings().MeterLogging()) {
        Say(io, QStringLiteral("the meter is recording data; stop recording on the meter first"));
        return ExitCode::MeterRecording;
    }
    return ExitCode::Success;
}

}  // namespace kr820::cli
