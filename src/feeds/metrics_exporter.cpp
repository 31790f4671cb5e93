// SPDX-License-Identifier: MIT
#include "feeds/metrics_exporter.h"

#include <prometheus/counter.h>
#include <prometheus/family.h>
#include <prometheus/gauge.h>
#include <prometheus/registry.h>
#include <prometheus/text_serializer.h>

#include <sstream>

#include "feeds/feeds_log.h"
#include "feeds/metrics_server.h"

namespace kr820::feeds {

struct MetricsExporter::Families {
    explicit Families(prometheus::Registry& registry)
        : temperature(prometheus::BuildGauge()
                          .Name("kr820_temperature_celsius")
                          .Help("The channel's last valid reading in degrees Celsius")
                          .Register(registry)),
          timestamp(prometheus::BuildGauge()
                        .Name("kr820_reading_timestamp_seconds")
                        .Help("When the meter's last reading was read, seconds since the epoch")
                        .Register(registry)),
          up(prometheus::BuildGauge()
                 .Name("kr820_up")
                 .Help("1 while the meter's link brings readings, 0 when it is lost")
                 .Register(registry)),
          alarm(prometheus::BuildGauge()
                    .Name("kr820_alarm")
                    .Help("1 while the alarm's condition is there, 0 otherwise; alarms switched "
                          "on only; channel \"meter\" for the meter lost alarm")
                    .Register(registry)),
          linkLosses(prometheus::BuildCounter()
                         .Name("kr820_link_losses_total")
                         .Help("Times the meter's link was lost")
                         .Register(registry)),
          meterInfo(prometheus::BuildGauge()
                        .Name("kr820_meter_info")
                        .Help("Always 1: the meter's device and model")
                        .Register(registry)),
          buildInfo(prometheus::BuildGauge()
                        .Name("kr820_build_info")
                        .Help("Always 1: the version and revision of the program serving")
                        .Register(registry)),
          queueLength(prometheus::BuildGauge()
                          .Name("kr820_mqtt_queue_length")
                          .Help("Readings waiting for the MQTT broker")
                          .Register(registry)),
          dropped(prometheus::BuildCounter()
                      .Name("kr820_mqtt_dropped_total")
                      .Help("Readings dropped, oldest first, while the MQTT queue was full")
                      .Register(registry)) {}

    prometheus::Family<prometheus::Gauge>& temperature;
    prometheus::Family<prometheus::Gauge>& timestamp;
    prometheus::Family<prometheus::Gauge>& up;
    prometheus::Family<prometheus::Gauge>& alarm;
    prometheus::Family<prometheus::Counter>& linkLosses;
    prometheus::Family<prometheus::Gauge>& meterInfo;
    prometheus::Family<prometheus::Gauge>& buildInfo;
    prometheus::Family<prometheus::Gauge>& queueLength;
    prometheus::Family<prometheus::Counter>& dropped;
};

std::variant<std::unique_ptr<MetricsExporter>, QString> MetricsExporter::Start(
    const QString& addressText, const BuildInfo& build) {
    const auto address = ParseMetricsAddress(addressText);
    if (const auto* error = std::get_if<QString>(&address)) return *error;

    std::unique_ptr<MetricsExporter> exporter(new MetricsExporter);
    exporter->m_registry = std::make_shared<prometheus::Registry>();
    exporter->m_families = std::make_unique<Families>(*exporter->m_registry);
    exporter->m_families->buildInfo
        .Add({{"version", build.Version.toStdString()}, {"revision", build.Revision.toStdString()}})
        .Set(1);
    const std::weak_ptr<prometheus::Registry> registry = exporter->m_registry;
    auto started = MetricsServer::Start(std::get<MetricsAddress>(address), [registry] {
        std::ostringstream text;
        if (const auto held = registry.lock())
            prometheus::TextSerializer().Serialize(text, held->Collect());
        return text.str();
    });
    if (auto* error = std::get_if<QString>(&started)) return *error;
    exporter->m_server = std::move(std::get<std::unique_ptr<MetricsServer>>(started));
    exporter->m_port = exporter->m_server->Port();
    qCInfo(lcFeeds, "metrics on http://%s:%d/metrics",
           qPrintable(std::get<MetricsAddress>(address).HostText), exporter->m_port);
    return exporter;
}

MetricsExporter::~MetricsExporter() {
    // The server first: a scrape under way must not see the series go.
    m_server.reset();
    m_meters.clear();
}

MeterMetrics& MetricsExporter::AddMeter(const QString& meterName) {
    auto& slot = m_meters[meterName];
    if (!slot) slot = std::make_unique<MeterMetrics>(*m_families, meterName);
    return *slot;
}

void MetricsExporter::RemoveMeter(const QString& meterName) { m_meters.erase(meterName); }

MeterMetrics::MeterMetrics(MetricsExporter::Families& families, const QString& meterName)
    : m_families(families), m_meter(meterName.toStdString()) {
    m_up = &m_families.up.Add({{"meter", m_meter}});
    m_linkLosses = &m_families.linkLosses.Add({{"meter", m_meter}});
}

MeterMetrics::~MeterMetrics() {
    for (prometheus::Gauge* gauge : m_temperature)
        if (gauge) m_families.temperature.Remove(gauge);
    for (prometheus::Gauge* gauge : m_alarms)
        if (gauge) m_families.alarm.Remove(gauge);
    if (m_timestamp) m_families.timestamp.Remove(m_timestamp);
    if (m_queueLength) m_families.queueLength.Remove(m_queueLength);
    if (m_dropped) m_families.dropped.Remove(m_dropped);
    m_families.up.Remove(m_up);
    m_families.linkLosses.Remove(m_linkLosses);
    if (m_info) m_families.meterInfo.Remove(m_info);
}

void MeterMetrics::SetTemperature(int channel, const std::optional<double>& celsius) {
    prometheus::Gauge*& gauge = m_temperature[channel];
    if (!celsius) {
        if (gauge) m_families.temperature.Remove(gauge);
        gauge = nullptr;
        return;
    }
    if (!gauge) {
        gauge = &m_families.temperature.Add(
            {{"meter", m_meter}, {"channel", channel == 0 ? "t1" : "t2"}});
    }
    gauge->Set(*celsius);
}

void MeterMetrics::SetReading(const FeedReading& reading) {
    SetTemperature(0, reading.T1Celsius);
    SetTemperature(1, reading.T2Celsius);
    if (!m_timestamp) m_timestamp = &m_families.timestamp.Add({{"meter", m_meter}});
    m_timestamp->Set(static_cast<double>(reading.ReadAtMs) / 1000.0);
    m_up->Set(1);
}

void MeterMetrics::SetUp(bool up) {
    m_up->Set(up ? 1 : 0);
    // A lost meter's last values are no longer its temperature.
    if (!up) {
        SetTemperature(0, std::nullopt);
        SetTemperature(1, std::nullopt);
    }
}

void MeterMetrics::SetAlarms(const FeedAlarms& alarms) {
    for (int i = 0; i < core::kAlarmCount; ++i) {
        prometheus::Gauge*& gauge = m_alarms[i];
        if (!alarms.Watched[i]) {
            if (gauge) m_families.alarm.Remove(gauge);
            gauge = nullptr;
            continue;
        }
        if (!gauge) {
            const core::AlarmId id = core::kAllAlarms[i];
            gauge = &m_families.alarm.Add(
                {{"meter", m_meter},
                 {"channel", id.Channel == core::AlarmChannel::None
                                 ? std::string("meter")
                                 : core::AlarmChannelName(id.Channel).toLower().toStdString()},
                 {"kind", core::AlarmKindName(id.Kind).toStdString()}});
        }
        gauge->Set(alarms.Active[i] ? 1 : 0);
    }
}

void MeterMetrics::AddLinkLoss() { m_linkLosses->Increment(); }

void MeterMetrics::SetInfo(const QString& device, const QString& model) {
    if (m_info) m_families.meterInfo.Remove(m_info);
    m_info = &m_families.meterInfo.Add(
        {{"meter", m_meter}, {"device", device.toStdString()}, {"model", model.toStdString()}});
    m_info->Set(1);
}

void MeterMetrics::SetMqttQueue(qsizetype length, qint64 dropped) {
    if (!m_queueLength) m_queueLength = &m_families.queueLength.Add({{"meter", m_meter}});
    if (!m_dropped) m_dropped = &m_families.dropped.Add({{"meter", m_meter}});
    m_queueLength->Set(static_cast<double>(length));
    const double more = static_cast<double>(dropped) - m_droppedCounted;
    if (more > 0) {
        m_dropped->Increment(more);
        m_droppedCounted = static_cast<double>(dropped);
    }
}

}  // namespace kr820::feeds
