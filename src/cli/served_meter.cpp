// SPDX-License-Identifier: MIT
#include "cli/served_meter.h"

#include "cli/alarm_options.h"
#include "cli/cli_log.h"
#include "cli/live_command.h"
#include "feeds/meter_feed.h"
#include "link/live_readings.h"
#include "link/port.h"

namespace kr820::cli {
namespace {

// Errors only: lost and regained links are logged here with the meter's name instead.
CliIo QuietIo(const CliIo& io) {
    CliIo quiet{io.out, io.err, io.errIsTerminal};
    quiet.verbosity = 0;
    return quiet;
}

// The alarms of one of several meters: its command learns which meter it is about from
// KR820_METER, set by the shell that runs it.
AlarmOptions NamedAlarms(AlarmOptions alarms, const QString& name) {
    if (alarms.onAlarm.isEmpty()) return alarms;
    QString quoted = name;
    quoted.replace(u'\'', QStringLiteral("'\\''"));
    alarms.onAlarm =
        QStringLiteral("KR820_METER='%1'; export KR820_METER; %2").arg(quoted, alarms.onAlarm);
    return alarms;
}

}  // namespace

ServedMeter::ServedMeter(QString name, QString path, std::unique_ptr<link::DevicePort> port,
                         link::Clock& clock, std::chrono::milliseconds tick, CliIo& io,
                         const AlarmOptions& alarms, std::chrono::seconds every,
                         feeds::MeterFeed& feed)
    : m_name(std::move(name)),
      m_path(std::move(path)),
      m_port(std::move(port)),
      m_io(QuietIo(io)),
      m_session(*m_port, clock, m_io, tick),
      m_alarms(WatchAlarms(NamedAlarms(alarms, m_name), m_session, io)),
      m_pacer(every),
      m_feed(feed) {
    // Another model's frames are no reading of this meter: said once a device, never fed.
    m_session.SetOnOtherModel([this](const QString& refusal) {
        if (refusal == m_otherModelTold) return;
        m_otherModelTold = refusal;
        qCWarning(lcServe, "%s: %s", qPrintable(m_name), qPrintable(refusal));
    });
    // The alarms take each reading at their stage, before the feed: it gets their outcome.
    m_session.OnReading(core::ReadingStage::Alarms, [this](const core::LiveReading& reading) {
        // A service goes on serving its meters: limits that cannot work are said on stderr.
        if (m_alarms) (void)m_alarms->TakeReading(reading);
    });
    m_session.OnReading(core::ReadingStage::Feeds,
                        [this](const core::LiveReading& reading) { TakeReading(reading); });
    m_session.Link().Readings().FanOut().Attach(
        core::ReadingStage::Feeds, &m_session.Link(),
        {.LinkLost = [this](qint64 atMs) { TakeLinkLost(atMs); },
         .LinkRestored = [this](qint64 atMs) { TakeLinkRestored(atMs); }});
}

ServedMeter::~ServedMeter() {
    // The commands of alarms already raised run to their end or their limit.
    if (m_alarms) m_alarms->Finish();
}

void ServedMeter::Start() {
    // The alarms switched on are known before any reading: their sensors are announced at once.
    if (m_alarms) HandAlarms();
    if (m_session.Find({m_path})) {
        qCInfo(lcServe, "%s: the meter answers on %s", qPrintable(m_name), qPrintable(m_path));
        m_feed.TakeMeterInfo(m_path, QStringLiteral("KR%1").arg(m_session.State().ModelCode));
    } else if (!m_session.Stopping()) {
        qCWarning(lcServe, "%s: no meter answers on %s; waiting for it", qPrintable(m_name),
                  qPrintable(m_path));
    }
}

void ServedMeter::TakeReading(const core::LiveReading& reading) {
    const bool alarmsChanged = m_alarms && HandAlarms();
    // A reading that raised or ended an alarm is fed whatever the pace: the alarm comes with it.
    if (m_pacer.Take(m_session.LinkClock().Now()) || alarmsChanged)
        m_feed.TakeReading(reading, reading.ReadAtMs);
}

void ServedMeter::TakeLinkLost(qint64 atMs) {
    qCWarning(lcServe, "%s: no answer from the meter on %s; waiting for it", qPrintable(m_name),
              qPrintable(m_path));
    m_feed.TakeLinkLost(atMs);
    // The engine took the loss first: its meter lost alarm goes out on a topic of its own.
    if (m_alarms) HandAlarms();
}

void ServedMeter::TakeLinkRestored(qint64 atMs) {
    if (m_session.OnOtherModel()) return;  // the meter is still away
    qCInfo(lcServe, "%s: the meter answers again on %s", qPrintable(m_name), qPrintable(m_path));
    m_feed.TakeLinkRestored(atMs);
}

bool ServedMeter::HandAlarms() {
    const feeds::FeedAlarms alarms = feeds::FeedAlarmsOf(m_alarms->Engine());
    const bool changed = alarms.Active != m_handedActive;
    m_handedActive = alarms.Active;
    m_feed.TakeAlarms(alarms);
    return changed;
}

}  // namespace kr820::cli
