// SPDX-License-Identifier: MIT
#include "feeds/meter_feed.h"

#include "feeds/metrics_exporter.h"
#include "link/live_readings.h"

namespace kr820::feeds {

MeterFeed::MeterFeed(const QString& name, const QString& topicName, QObject* parent)
    : QObject(parent), m_name(name), m_topicName(topicName) {}

MeterFeed::~MeterFeed() = default;

void MeterFeed::Follow(const link::LiveReadings& readings) {
    readings.FanOut().Attach(
        core::ReadingStage::Feeds, this,
        {.Reading =
             [this](const core::LiveReading& reading) { TakeReading(reading, reading.ReadAtMs); },
         .LinkLost = [this](qint64 atMs) { TakeLinkLost(atMs); },
         .LinkRestored = [this](qint64 atMs) { TakeLinkRestored(atMs); }});
}

void MeterFeed::TakeReading(const core::LiveReading& reading, qint64 readAtMsSinceEpoch) {
    FeedReading feedReading = FeedReadingOf(reading, readAtMsSinceEpoch);
    feedReading.ActiveAlarms = ActiveBits();
    m_unit = feedReading.Unit;
    SetUp(true);
    if (m_metrics) m_metrics->SetReading(feedReading);
    if (m_mqtt) {
        m_mqtt->SetDiscovery(m_unit, m_alarms);
        m_mqtt->TakeReading(feedReading);
    }
}

void MeterFeed::TakeLinkLost(qint64) {
    if (m_metrics) m_metrics->AddLinkLoss();
    SetUp(false);
}

void MeterFeed::TakeLinkRestored(qint64) { SetUp(true); }

void MeterFeed::TakeAlarms(const FeedAlarms& alarms) {
    m_alarms = alarms;
    if (m_metrics) m_metrics->SetAlarms(alarms);
    if (m_mqtt) m_mqtt->SetDiscovery(m_unit, m_alarms);
}

void MeterFeed::TakeMeterInfo(const QString& device, const QString& model) {
    m_device = device;
    m_model = model;
    if (m_metrics) m_metrics->SetInfo(device, model);
}

void MeterFeed::AttachMqtt(MqttPublisher* publisher) {
    m_mqtt = publisher;
    m_mqtt->SetMeterAvailable(m_up);
    m_mqtt->SetDiscovery(m_unit, m_alarms);
    connect(m_mqtt, &MqttPublisher::stateChanged, this, &MeterFeed::mqttStateChanged);
    connect(m_mqtt, &MqttPublisher::queueChanged, this, &MeterFeed::UpdateQueueMetrics);
    UpdateQueueMetrics();
}

void MeterFeed::DetachMqtt() { m_mqtt = nullptr; }

void MeterFeed::AttachMetrics(MeterMetrics* metrics) {
    m_metrics = metrics;
    if (!m_metrics) return;
    m_metrics->SetUp(m_up);
    m_metrics->SetAlarms(m_alarms);
    if (!m_device.isEmpty()) m_metrics->SetInfo(m_device, m_model);
    UpdateQueueMetrics();
}

void MeterFeed::SetUp(bool up) {
    if (up == m_up) return;
    m_up = up;
    if (m_metrics) m_metrics->SetUp(up);
    if (m_mqtt) m_mqtt->SetMeterAvailable(up);
}

void MeterFeed::UpdateQueueMetrics() {
    if (m_metrics && m_mqtt) m_metrics->SetMqttQueue(m_mqtt->QueueLength(), m_mqtt->Dropped());
}

quint8 MeterFeed::ActiveBits() const {
    quint8 bits = 0;
    for (int i = 0; i < core::kAlarmCount; ++i)
        if (m_alarms.Active[i]) bits |= static_cast<quint8>(1u << i);
    return bits;
}

}  // namespace kr820::feeds
