// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <map>
#include <memory>
#include <optional>

#include "feeds/meter_feed.h"
#include "feeds/metrics_exporter.h"
#include "feeds/mqtt_settings.h"

namespace kr820::feeds {

// The feeds of a service or a desktop: any number of named meters, an MQTT broker and a
// Prometheus endpoint, each started when asked. A meter added later joins the feeds running.
//
//   FeedHub hub;
//   hub.StartMqtt(settings);            // or not
//   hub.StartMetrics("127.0.0.1:9820"); // or not
//   hub.AddMeter("oven").Follow(link.Readings());
class FeedHub : public QObject {
    Q_OBJECT

public:
    explicit FeedHub(QObject* parent = nullptr);
    ~FeedHub() override;

    // The meter of that name, made on first asking. Two names that would share their topics
    // ("a/b", "a_b") get distinct ones: the later one's ends in "_2".
    MeterFeed& AddMeter(const QString& name);
    MeterFeed* Meter(const QString& name) const;
    void RemoveMeter(const QString& name);

    // An error text when the broker's settings cannot be used (a CA file that cannot be read);
    // a broker that is not there is no error (it is tried again and again).
    std::optional<QString> StartMqtt(const MqttSettings& settings);
    void StopMqtt();
    bool MqttRunning() const { return m_mqttSettings.has_value(); }

    // At an address as ParseMetricsAddress reads it; `build` for kr820_build_info.
    std::optional<QString> StartMetrics(const QString& address, const BuildInfo& build = {});
    void StopMetrics();
    // The port the metrics are served on, 0 when they are not.
    int MetricsPort() const;

signals:
    void mqttStateChanged(const QString& meter, kr820::feeds::MqttState state);

private:
    std::optional<QString> StartMqttFor(MeterFeed& meter);
    QString UniqueTopicName(const QString& name) const;

    struct Entry {
        std::unique_ptr<MeterFeed> feed;
        std::unique_ptr<MqttPublisher> mqtt;
    };
    std::map<QString, Entry> m_meters;
    std::optional<MqttSettings> m_mqttSettings;
    std::unique_ptr<MetricsExporter> m_metrics;
};

}  // namespace kr820::feeds
