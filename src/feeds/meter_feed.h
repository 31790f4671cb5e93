// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <optional>

#include "core/live/live_reading.h"
#include "feeds/feed_alarms.h"
#include "feeds/feed_reading.h"
#include "feeds/mqtt_publisher.h"

namespace kr820::link {
class LiveReadings;
}

namespace kr820::feeds {

class MeterMetrics;

// One named meter's readings, link state and alarms, handed on to whichever feeds run (the
// broker, the metrics). Made and owned by FeedHub. A caller either follows a link's
// LiveReadings or hands each event over itself; either way nothing here waits.
class MeterFeed : public QObject {
    Q_OBJECT

public:
    MeterFeed(const QString& name, const QString& topicName, QObject* parent = nullptr);
    ~MeterFeed() override;

    const QString& Name() const { return m_name; }
    // The name as it stands in topics and Home Assistant ids, unique in its hub.
    const QString& TopicName() const { return m_topicName; }

    // Takes the link's readings, losses and returns from now on.
    void Follow(const link::LiveReadings& readings);

    void TakeReading(const core::LiveReading& reading, qint64 readAtMsSinceEpoch);
    void TakeLinkLost(qint64 atMsSinceEpoch);
    void TakeLinkRestored(qint64 atMsSinceEpoch);
    // The alarms after the engine took a reading or a loss: hand them before the reading they
    // came from, so that the reading carries them. No state is sent for them alone: the meter
    // lost alarm, raised without a reading, has a retained topic of its own.
    void TakeAlarms(const FeedAlarms& alarms);
    // The device the meter answers on and its model, for the metrics.
    void TakeMeterInfo(const QString& device, const QString& model);

    bool Up() const { return m_up; }
    // None while the hub has no broker.
    const MqttPublisher* Mqtt() const { return m_mqtt; }

    // The hub's side.
    void AttachMqtt(MqttPublisher* publisher);
    void DetachMqtt();
    void AttachMetrics(MeterMetrics* metrics);

signals:
    void mqttStateChanged(kr820::feeds::MqttState state);

private:
    void SetUp(bool up);
    void UpdateQueueMetrics();
    quint8 ActiveBits() const;

    const QString m_name;
    const QString m_topicName;
    bool m_up = false;
    std::optional<core::DisplayUnit> m_unit;  // known from the first reading on
    FeedAlarms m_alarms;
    QString m_device;
    QString m_model;
    MqttPublisher* m_mqtt = nullptr;
    MeterMetrics* m_metrics = nullptr;
};

}  // namespace kr820::feeds
