// SPDX-License-Identifier: MIT
#include "feeds/feed_hub.h"

#include "feeds/feeds_log.h"
#include "feeds/metrics_exporter.h"
#include "feeds/mqtt_messages.h"

namespace kr820::feeds {

FeedHub::FeedHub(QObject* parent) : QObject(parent) {}

FeedHub::~FeedHub() {
    StopMqtt();
    // The feeds point at the exporter's series: they go first.
    m_meters.clear();
    m_metrics.reset();
}

MeterFeed& FeedHub::AddMeter(const QString& name) {
    if (MeterFeed* existing = Meter(name)) return *existing;
    Entry& meter = m_meters[name];
    meter.feed = std::make_unique<MeterFeed>(name, UniqueTopicName(name));
    connect(meter.feed.get(), &MeterFeed::mqttStateChanged, this,
            [this, name](MqttState state) { emit mqttStateChanged(name, state); });
    if (m_metrics) meter.feed->AttachMetrics(&m_metrics->AddMeter(name));
    if (m_mqttSettings) {
        if (const auto error = StartMqttFor(*meter.feed))
            qCWarning(lcFeeds, "%s: %s", qPrintable(name), qPrintable(*error));
    }
    return *meter.feed;
}

MeterFeed* FeedHub::Meter(const QString& name) const {
    const auto found = m_meters.find(name);
    return found == m_meters.end() ? nullptr : found->second.feed.get();
}

void FeedHub::RemoveMeter(const QString& name) {
    const auto found = m_meters.find(name);
    if (found == m_meters.end()) return;
    found->second.feed->DetachMqtt();
    m_meters.erase(found);
    if (m_metrics) m_metrics->RemoveMeter(name);
}

std::optional<QString> FeedHub::StartMqtt(const MqttSettings& settings) {
    StopMqtt();
    if (auto problem = MqttSettingsProblem(settings)) return problem;
    m_mqttSettings = settings;
    for (auto& [name, meter] : m_meters) {
        if (auto error = StartMqttFor(*meter.feed)) {
            StopMqtt();
            return error;
        }
    }
    return std::nullopt;
}

void FeedHub::StopMqtt() {
    for (auto& [name, meter] : m_meters) {
        meter.feed->DetachMqtt();
        meter.mqtt.reset();
    }
    m_mqttSettings.reset();
}

std::optional<QString> FeedHub::StartMqttFor(MeterFeed& feed) {
    auto publisher =
        std::make_unique<MqttPublisher>(feed.Name(), feed.TopicName(), *m_mqttSettings);
    if (auto error = publisher->Start()) return error;
    feed.AttachMqtt(publisher.get());
    m_meters[feed.Name()].mqtt = std::move(publisher);
    return std::nullopt;
}

std::optional<QString> FeedHub::StartMetrics(const QString& address, const BuildInfo& build) {
    StopMetrics();
    auto started = MetricsExporter::Start(address, build);
    if (auto* error = std::get_if<QString>(&started)) return *error;
    m_metrics = std::move(std::get<std::unique_ptr<MetricsExporter>>(started));
    for (auto& [name, meter] : m_meters) meter.feed->AttachMetrics(&m_metrics->AddMeter(name));
    return std::nullopt;
}

void FeedHub::StopMetrics() {
    if (!m_metrics) return;
    for (auto& [name, meter] : m_meters) meter.feed->AttachMetrics(nullptr);
    m_metrics.reset();
}

int FeedHub::MetricsPort() const { return m_metrics ? m_metrics->Port() : 0; }

QString FeedHub::UniqueTopicName(const QString& name) const {
    const QString base = TopicName(name);
    const auto taken = [this](const QString& topicName) {
        for (const auto& [other, meter] : m_meters)
            if (meter.feed && meter.feed->TopicName() == topicName) return true;
        return false;
    };
    QString topicName = base;
    for (int n = 2; taken(topicName); ++n) topicName = base + u'_' + QString::number(n);
    return topicName;
}

}  // namespace kr820::feeds
