// SPDX-License-Identifier: MIT
#include "feeds/mqtt_messages.h"

#include <QDateTime>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "core/alarms/alarm_id.h"

namespace kr820::feeds {
namespace {

QString UnitText(core::DisplayUnit unit) {
    return unit == core::DisplayUnit::Fahrenheit ? QStringLiteral("°F") : QStringLiteral("°C");
}

// The meter shows tenths; a converted value carries the float's noise beyond them.
double Tenths(double value) { return std::round(value * 10.0) / 10.0; }

QJsonValue JsonValue(const std::optional<double>& value) {
    return value ? QJsonValue(Tenths(*value)) : QJsonValue(QJsonValue::Null);
}

QString ObjectId(const QString& topicName, const QString& what) {
    return QStringLiteral("kr820_") + topicName + u'_' + what;
}

QJsonObject Device(const QString& meterName, const QString& topicName) {
    return QJsonObject{
        {QStringLiteral("identifiers"), QJsonArray{QStringLiteral("kr820_") + topicName}},
        {QStringLiteral("name"), QStringLiteral("KR820 ") + meterName},
        {QStringLiteral("model"), QStringLiteral("KR820")},
    };
}

// `domain` is Home Assistant's: "sensor", "binary_sensor".
QJsonObject EntityBase(const QString& meterName, const QString& topicName, const QString& domain,
                       const QString& what, const QString& name) {
    return QJsonObject{
        {QStringLiteral("name"), name},
        {QStringLiteral("unique_id"), ObjectId(topicName, what)},
        {QStringLiteral("default_entity_id"), domain + u'.' + ObjectId(topicName, what)},
        {QStringLiteral("state_topic"), StateTopic(topicName)},
        {QStringLiteral("availability_topic"), AvailabilityTopic(topicName)},
        {QStringLiteral("payload_available"), QString::fromLatin1(kOnline)},
        {QStringLiteral("payload_not_available"), QString::fromLatin1(kOffline)},
        {QStringLiteral("qos"), 1},
        {QStringLiteral("device"), Device(meterName, topicName)},
    };
}

// Local time with its offset written out, so the moment is plain to any reader.
QString IsoTime(qint64 msSinceEpoch) {
    const QDateTime local = QDateTime::fromMSecsSinceEpoch(msSinceEpoch);
    return local.toOffsetFromUtc(local.offsetFromUtc()).toString(Qt::ISODateWithMs);
}

QByteArray Compact(const QJsonObject& object) {
    return QJsonDocument(object).toJson(QJsonDocument::Compact);
}

}  // namespace

QString TopicName(const QString& meterName) {
    QString name;
    name.reserve(meterName.size());
    for (const QChar c : meterName) {
        const bool kept = (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') ||
                          (c >= u'0' && c <= u'9') || c == u'_' || c == u'-';
        name.append(kept ? c : QChar(u'_'));
    }
    return name.isEmpty() ? QStringLiteral("meter") : name;
}

QString StateTopic(const QString& topicName) {
    return QStringLiteral("kr820/") + topicName + QStringLiteral("/state");
}

QString ChannelTopic(const QString& topicName, int channel) {
    return QStringLiteral("kr820/") + topicName + QStringLiteral("/t") + QString::number(channel);
}

QString AvailabilityTopic(const QString& topicName) {
    return QStringLiteral("kr820/") + topicName + QStringLiteral("/availability");
}

QString LostTopic(const QString& topicName) {
    return QStringLiteral("kr820/") + topicName + QStringLiteral("/lost");
}

MqttMessage LostMessage(const QString& topicName, bool lost) {
    return {LostTopic(topicName), lost ? kOn : kOff, true};
}

std::vector<MqttMessage> ReadingMessages(const QString& topicName, const FeedReading& reading) {
    QJsonArray alarms;
    for (int i = 0; i < core::kAlarmCount; ++i) {
        if (reading.ActiveAlarms & (1u << i)) alarms.append(core::AlarmName(core::kAllAlarms[i]));
    }
    const auto validity = [](const std::optional<double>& value) {
        return value ? QStringLiteral("valid") : QStringLiteral("invalid");
    };
    const QJsonObject state{
        {QStringLiteral("time"), IsoTime(reading.ReadAtMs)},
        {QStringLiteral("t1"), JsonValue(reading.T1)},
        {QStringLiteral("t2"), JsonValue(reading.T2)},
        {QStringLiteral("unit"), UnitText(reading.Unit)},
        {QStringLiteral("validity"), QJsonObject{{QStringLiteral("t1"), validity(reading.T1)},
                                                 {QStringLiteral("t2"), validity(reading.T2)}}},
        {QStringLiteral("alarms"), alarms},
    };
    std::vector<MqttMessage> messages{{StateTopic(topicName), Compact(state), false}};
    if (reading.T1)
        messages.push_back(
            {ChannelTopic(topicName, 1), QByteArray::number(Tenths(*reading.T1), 'f', 1)});
    if (reading.T2)
        messages.push_back(
            {ChannelTopic(topicName, 2), QByteArray::number(Tenths(*reading.T2), 'f', 1)});
    return messages;
}

std::vector<MqttMessage> DiscoveryMessages(const QString& meterName, const QString& topicName,
                                           std::optional<core::DisplayUnit> unit,
                                           const FeedAlarms& alarms, int expireAfterSeconds) {
    std::vector<MqttMessage> messages;
    const QString sensor = QStringLiteral("sensor");
    for (const QString& channel : {QStringLiteral("t1"), QStringLiteral("t2")}) {
        if (!unit) break;
        QJsonObject config = EntityBase(meterName, topicName, sensor, channel, channel.toUpper());
        config.insert(QStringLiteral("value_template"),
                      QStringLiteral("{{ value_json.") + channel + QStringLiteral(" }}"));
        config.insert(QStringLiteral("device_class"), QStringLiteral("temperature"));
        config.insert(QStringLiteral("unit_of_measurement"), UnitText(*unit));
        config.insert(QStringLiteral("state_class"), QStringLiteral("measurement"));
        config.insert(QStringLiteral("expire_after"), expireAfterSeconds);
        messages.push_back({QStringLiteral("homeassistant/sensor/") + ObjectId(topicName, channel) +
                                QStringLiteral("/config"),
                            Compact(config), true});
    }
    const QString binarySensor = QStringLiteral("binary_sensor");
    for (int i = 0; i < core::kAlarmCount; ++i) {
        const QString alarm = core::AlarmName(core::kAllAlarms[i]);
        const QString what = QString(alarm).replace(u'-', u'_');
        const QString topic = QStringLiteral("homeassistant/binary_sensor/") +
                              ObjectId(topicName, what) + QStringLiteral("/config");
        if (!alarms.Watched[i]) {
            messages.push_back({topic, QByteArray(), true});
            continue;
        }
        QJsonObject config =
            EntityBase(meterName, topicName, binarySensor, what, QStringLiteral("Alarm ") + alarm);
        if (core::kAllAlarms[i].Kind == core::AlarmKind::MeterLost) {
            // Its own retained state, so that Home Assistant started during a loss shows it. It
            // is available while the meter is, or while the loss lasts: a service gone (its last
            // will) with the meter answering shows it unavailable, not a stale "no loss".
            config.remove(QStringLiteral("availability_topic"));
            config.remove(QStringLiteral("payload_available"));
            config.remove(QStringLiteral("payload_not_available"));
            config.insert(QStringLiteral("state_topic"), LostTopic(topicName));
            config.insert(QStringLiteral("availability_mode"), QStringLiteral("any"));
            config.insert(
                QStringLiteral("availability"),
                QJsonArray{
                    QJsonObject{{QStringLiteral("topic"), AvailabilityTopic(topicName)}},
                    QJsonObject{{QStringLiteral("topic"), LostTopic(topicName)},
                                {QStringLiteral("value_template"),
                                 QStringLiteral("{{ 'online' if value == 'ON' else 'offline' }}")}},
                });
        } else {
            config.insert(QStringLiteral("value_template"),
                          QStringLiteral("{{ 'ON' if '") + alarm +
                              QStringLiteral("' in value_json.alarms else 'OFF' }}"));
            config.insert(QStringLiteral("expire_after"), expireAfterSeconds);
        }
        config.insert(QStringLiteral("device_class"), QStringLiteral("problem"));
        messages.push_back({topic, Compact(config), true});
    }
    return messages;
}

}  // namespace kr820::feeds
