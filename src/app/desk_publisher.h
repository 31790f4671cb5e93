// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

#include "feeds/mqtt_settings.h"

namespace kr820::link {
class LiveReadings;
}
namespace kr820::feeds {
class FeedHub;
class MeterFeed;
}  // namespace kr820::feeds

namespace kr820::app {

class AlarmDesk;

// The desktop's meter published to an MQTT broker: the link's readings, losses and returns and
// the desktop's alarms go to one meter of a feed hub while publishing runs. The link goes on
// looking for a lost meter, so publishing outlives it and takes it up again when it answers.
class DeskPublisher : public QObject {
    Q_OBJECT

public:
    DeskPublisher(link::LiveReadings& readings, AlarmDesk& alarms, QObject* parent = nullptr);
    ~DeskPublisher() override;

    // Publishes as `settings` say under `meterName`, stopping what ran before; an error text
    // when the settings cannot be used.
    std::optional<QString> Start(const feeds::MqttSettings& settings, const QString& meterName);
    // The meter's availability becomes "offline" first.
    void Stop();
    bool Running() const { return m_hub != nullptr; }

    // "Broker: connected", "Broker: connecting", "Broker: away (N waiting)"; empty while not
    // publishing.
    QString StatusText() const;
    // Why the broker is away, while it is; empty otherwise.
    QString AwayReason() const;

signals:
    void statusChanged();

private:
    void HandAlarms(qint64 atMs);

    link::LiveReadings& m_readings;
    AlarmDesk& m_alarms;
    std::unique_ptr<feeds::FeedHub> m_hub;
    feeds::MeterFeed* m_feed = nullptr;
};

}  // namespace kr820::app
