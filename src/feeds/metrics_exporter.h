// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <map>
#include <memory>
#include <optional>
#include <variant>

#include "feeds/feed_alarms.h"
#include "feeds/feed_reading.h"

namespace prometheus {
class Registry;
class Gauge;
class Counter;
template <typename T>
class Family;
}  // namespace prometheus

namespace kr820::feeds {

class MeterMetrics;
class MetricsServer;

// What kr820_build_info says.
struct BuildInfo {
    QString Version;
    QString Revision;
};

// The Prometheus scrape endpoint: /metrics in the text exposition format, served on a thread of
// its own (MetricsServer), so a slow or stuck scraper never holds up a reading. Every series of a
// meter carries its name in its `meter` label.
class MetricsExporter {
public:
    // At an address as ParseMetricsAddress reads it. An error text when the address is no such
    // thing or cannot be bound, naming it and the reason.
    static std::variant<std::unique_ptr<MetricsExporter>, QString> Start(const QString& address,
                                                                         const BuildInfo& build);
    ~MetricsExporter();

    int Port() const { return m_port; }
    // The series of one meter; the exporter keeps them until RemoveMeter.
    MeterMetrics& AddMeter(const QString& meterName);
    void RemoveMeter(const QString& meterName);

    struct Families;

private:
    MetricsExporter() = default;

    std::shared_ptr<prometheus::Registry> m_registry;
    std::unique_ptr<Families> m_families;
    std::unique_ptr<MetricsServer> m_server;
    std::map<QString, std::unique_ptr<MeterMetrics>> m_meters;
    int m_port = 0;
};

// One meter's series. A channel without a valid value, and every channel of a meter whose link
// is lost, has no temperature series at all: a gap, not a zero.
class MeterMetrics {
public:
    MeterMetrics(MetricsExporter::Families& families, const QString& meterName);
    ~MeterMetrics();

    void SetReading(const FeedReading& reading);
    void SetUp(bool up);
    void SetAlarms(const FeedAlarms& alarms);
    void AddLinkLoss();
    // kr820_meter_info: the device the meter answers on and its model.
    void SetInfo(const QString& device, const QString& model);
    void SetMqttQueue(qsizetype length, qint64 dropped);

private:
    void SetTemperature(int channel, const std::optional<double>& celsius);

    MetricsExporter::Families& m_families;
    const std::string m_meter;
    prometheus::Gauge* m_temperature[2] = {nullptr, nullptr};
    prometheus::Gauge* m_timestamp = nullptr;
    prometheus::Gauge* m_up = nullptr;
    prometheus::Gauge* m_alarms[core::kAlarmCount] = {};
    prometheus::Counter* m_linkLosses = nullptr;
    prometheus::Gauge* m_info = nullptr;
    prometheus::Gauge* m_queueLength = nullptr;
    prometheus::Counter* m_dropped = nullptr;
    double m_droppedCounted = 0;
};

}  // namespace kr820::feeds
