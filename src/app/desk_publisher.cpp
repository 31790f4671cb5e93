// SPDX-License-Identifier: MIT
#include "app/desk_publisher.h"

#include <QDateTime>

#include "app/alarm_desk.h"
#include "feeds/feed_alarms.h"
#include "feeds/feed_hub.h"
#include "feeds/meter_feed.h"
#include "link/live_readings.h"

namespace kr820::app {

DeskPublisher::DeskPublisher(link::LiveReadings& readings, AlarmDesk& alarms, QObject* parent)
    : QObject(parent), m_readings(readings), m_alarms(alarms) {}

DeskPublisher::~DeskPublisher() { Stop(); }

std::optional<QString> DeskPublisher::Start(const feeds::MqttSettings& settings,
                                            const QString& meterName) {
    Stop();
    auto hub = std::make_unique<feeds::FeedHub>();
    feeds::MeterFeed& feed = hub->AddMeter(meterName);
    if (auto error = hub->StartMqtt(settings)) return error;
    m_hub = std::move(hub);
    m_feed = &feed;

    // The alarm desk, a stage before, took each event already: the feed gets its outcome, the
    // alarms before the reading that carries them, a loss's alarm after the loss.
    m_readings.FanOut().Attach(
        core::ReadingStage::Feeds, m_feed,
        {.Reading =
             [this](const core::LiveReading& reading) {
                 HandAlarms(reading.ReadAtMs);
                 m_feed->TakeReading(reading, reading.ReadAtMs);
             },
         .LinkLost =
             [this](qint64 atMs) {
                 m_feed->TakeLinkLost(atMs);
                 HandAlarms(atMs);
             },
         .LinkRestored = [this](qint64 atMs) { m_feed->TakeLinkRestored(atMs); }});
    // Alarms switched on or off get their sensors at once.
    connect(&m_alarms, &AlarmDesk::changed, m_feed,
            [this] { HandAlarms(QDateTime::currentMSecsSinceEpoch()); });
    HandAlarms(QDateTime::currentMSecsSinceEpoch());

    connect(m_hub.get(), &feeds::FeedHub::mqttStateChanged, this, &DeskPublisher::statusChanged);
    if (const feeds::MqttPublisher* mqtt = m_feed->Mqtt()) {
        connect(mqtt, &feeds::MqttPublisher::queueChanged, this, &DeskPublisher::statusChanged);
        connect(mqtt, &feeds::MqttPublisher::awayReasonChanged, this,
                &DeskPublisher::statusChanged);
    }
    emit statusChanged();
    return std::nullopt;
}

void DeskPublisher::Stop() {
    if (!m_hub) return;
    m_feed = nullptr;
    m_hub.reset();
    emit statusChanged();
}

QString DeskPublisher::StatusText() const {
    const feeds::MqttPublisher* mqtt = m_feed ? m_feed->Mqtt() : nullptr;
    if (!mqtt) return QString();
    switch (mqtt->State()) {
        case feeds::MqttState::Connected:
            return tr("Broker: connected");
        case feeds::MqttState::Connecting:
            return tr("Broker: connecting");
        case feeds::MqttState::Away:
            break;
    }
    return tr("Broker: away (%1 waiting)").arg(mqtt->QueueLength() + mqtt->InFlight());
}

QString DeskPublisher::AwayReason() const {
    const feeds::MqttPublisher* mqtt = m_feed ? m_feed->Mqtt() : nullptr;
    if (!mqtt || mqtt->State() != feeds::MqttState::Away) return QString();
    return mqtt->AwayReason();
}

void DeskPublisher::HandAlarms(qint64) {
    m_feed->TakeAlarms(feeds::FeedAlarmsOf(m_alarms.Engine()));
}

}  // namespace kr820::app
