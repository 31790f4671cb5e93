// SPDX-License-Identifier: MIT
#include "feeds/mqtt_messages.h"

#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include "feeds/feed_reading.h"

namespace kr820::feeds {
namespace {

QJsonObject Json(const QByteArray& payload) { return QJsonDocument::fromJson(payload).object(); }

core::LiveReading Reading(float t1, float t2, quint16 invalid = 0, bool fahrenheit = false) {
    core::LiveReading reading;
    reading.Celsius[static_cast<int>(core::LiveValue::T1)] = t1;
    reading.Celsius[static_cast<int>(core::LiveValue::T2)] = t2;
    reading.Invalid = invalid;
    if (fahrenheit) reading.Status |= core::kStatusFahrenheit;
    return reading;
}

TEST(TopicName, KeepsWhatATopicLevelAllowsAndNothingThatWidensOrSplitsIt) {
    EXPECT_EQ(TopicName(QStringLiteral("usb-FTDI_FT232R-if00-port0")),
              QStringLiteral("usb-FTDI_FT232R-if00-port0"));
    EXPECT_EQ(TopicName(QStringLiteral("lab/oven #2+")), QStringLiteral("lab_oven__2_"));
    EXPECT_EQ(TopicName(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("_dev_ttyUSB0"));
    EXPECT_EQ(TopicName(QString()), QStringLiteral("meter"));
}

TEST(ReadingMessages, StateThenPlainNumbersInTheUnitShown) {
    FeedReading reading = FeedReadingOf(Reading(21.5f, -3.2f), 1'700'000'000'123);
    reading.ActiveAlarms = 1u << 0 | 1u << 6;  // t1-high, lost
    const auto messages = ReadingMessages(QStringLiteral("oven"), reading);
    ASSERT_EQ(messages.size(), 3u);
    EXPECT_EQ(messages[0].Topic, QStringLiteral("kr820/oven/state"));
    EXPECT_FALSE(messages[0].Retain);
    const QJsonObject state = Json(messages[0].Payload);
    EXPECT_DOUBLE_EQ(state["t1"].toDouble(), 21.5);
    EXPECT_DOUBLE_EQ(state["t2"].toDouble(), -3.2);
    EXPECT_EQ(state["unit"].toString(), QStringLiteral("°C"));
    EXPECT_EQ(state["validity"].toObject()["t1"].toString(), QStringLiteral("valid"));
    EXPECT_EQ(state["alarms"].toArray(),
              (QJsonArray{QStringLiteral("t1-high"), QStringLiteral("lost")}));
    // ISO 8601 with the offset written out, to the millisecond.
    const QDateTime time = QDateTime::fromString(state["time"].toString(), Qt::ISODateWithMs);
    EXPECT_EQ(time.toMSecsSinceEpoch(), 1'700'000'000'123);
    EXPECT_TRUE(state["time"].toString().contains(u'+') ||
                state["time"].toString().endsWith(u'Z') ||
                state["time"].toString().lastIndexOf(u'-') > 10);
    EXPECT_EQ(messages[1].Topic, QStringLiteral("kr820/oven/t1"));
    EXPECT_EQ(messages[1].Payload, "21.5");
    EXPECT_EQ(messages[2].Payload, "-3.2");
}

TEST(ReadingMessages, AChannelWithoutValueIsNullInTheStateAndHasNoPlainNumber) {
    const FeedReading reading = FeedReadingOf(Reading(21.5f, 0.0f, 0x0100), 0);
    const auto messages = ReadingMessages(QStringLiteral("oven"), reading);
    ASSERT_EQ(messages.size(), 2u);
    const QJsonObject state = Json(messages[0].Payload);
    EXPECT_TRUE(state["t2"].isNull());
    EXPECT_EQ(state["validity"].toObject()["t2"].toString(), QStringLiteral("invalid"));
    EXPECT_EQ(messages[1].Topic, QStringLiteral("kr820/oven/t1"));
}

TEST(ReadingMessages, FahrenheitShownIsSentInFahrenheitToTheTenth) {
    const FeedReading reading = FeedReadingOf(Reading(21.1f, 100.0f, 0, true), 0);
    EXPECT_DOUBLE_EQ(*reading.T1Celsius, 21.1);
    const auto messages = ReadingMessages(QStringLiteral("oven"), reading);
    EXPECT_EQ(Json(messages[0].Payload)["unit"].toString(), QStringLiteral("°F"));
    EXPECT_EQ(messages[1].Payload, "70.0");  // 69.98 shown as the meter shows it
    EXPECT_EQ(messages[2].Payload, "212.0");
}

TEST(DiscoveryMessages, TwoTemperatureSensorsAndOneBinarySensorPerWatchedAlarmOnOneDevice) {
    FeedAlarms alarms;
    alarms.Watched[0] = true;  // t1-high
    alarms.Watched[6] = true;  // lost
    const auto messages = DiscoveryMessages(QStringLiteral("Oven 1"), QStringLiteral("Oven_1"),
                                            core::DisplayUnit::Celsius, alarms, 60);
    ASSERT_EQ(messages.size(), 2u + 7u);
    for (const MqttMessage& message : messages)
        EXPECT_TRUE(message.Retain) << message.Topic.toStdString();

    EXPECT_EQ(messages[0].Topic, QStringLiteral("homeassistant/sensor/kr820_Oven_1_t1/config"));
    EXPECT_EQ(messages[1].Topic, QStringLiteral("homeassistant/sensor/kr820_Oven_1_t2/config"));
    const QJsonObject t1 = Json(messages[0].Payload);
    EXPECT_EQ(t1["device_class"].toString(), QStringLiteral("temperature"));
    EXPECT_EQ(t1["unit_of_measurement"].toString(), QStringLiteral("°C"));
    EXPECT_EQ(t1["state_class"].toString(), QStringLiteral("measurement"));
    EXPECT_EQ(t1["state_topic"].toString(), QStringLiteral("kr820/Oven_1/state"));
    EXPECT_EQ(t1["availability_topic"].toString(), QStringLiteral("kr820/Oven_1/availability"));
    EXPECT_EQ(t1["unique_id"].toString(), QStringLiteral("kr820_Oven_1_t1"));
    EXPECT_EQ(t1["default_entity_id"].toString(), QStringLiteral("sensor.kr820_Oven_1_t1"));
    EXPECT_FALSE(t1.contains(QStringLiteral("object_id")));
    EXPECT_EQ(t1["expire_after"].toInt(), 60);
    const QJsonObject device = t1["device"].toObject();
    EXPECT_EQ(device["identifiers"].toArray().first().toString(), QStringLiteral("kr820_Oven_1"));
    EXPECT_EQ(Json(messages[1].Payload)["device"].toObject(), device);

    const MqttMessage& high = messages[2];
    EXPECT_EQ(high.Topic,
              QStringLiteral("homeassistant/binary_sensor/kr820_Oven_1_t1_high/config"));
    EXPECT_EQ(Json(high.Payload)["device_class"].toString(), QStringLiteral("problem"));
    EXPECT_TRUE(
        Json(high.Payload)["value_template"].toString().contains(QStringLiteral("'t1-high'")));
    EXPECT_EQ(Json(high.Payload)["device"].toObject(), device);
    EXPECT_EQ(Json(high.Payload)["default_entity_id"].toString(),
              QStringLiteral("binary_sensor.kr820_Oven_1_t1_high"));
    // An alarm switched off: an empty retained config removes its sensor.
    EXPECT_TRUE(messages[3].Payload.isEmpty());
    // The meter lost alarm must show while the meter is unavailable: its state is retained
    // on a topic of its own, and it is available while the meter is or while the loss lasts.
    const QJsonObject lost = Json(messages[8].Payload);
    EXPECT_EQ(messages[8].Topic,
              QStringLiteral("homeassistant/binary_sensor/kr820_Oven_1_lost/config"));
    EXPECT_EQ(lost["state_topic"].toString(), QStringLiteral("kr820/Oven_1/lost"));
    EXPECT_FALSE(lost.contains(QStringLiteral("availability_topic")));
    EXPECT_EQ(lost["availability_mode"].toString(), QStringLiteral("any"));
    const QJsonArray availability = lost["availability"].toArray();
    ASSERT_EQ(availability.size(), 2);
    EXPECT_EQ(availability[0].toObject()["topic"].toString(),
              QStringLiteral("kr820/Oven_1/availability"));
    EXPECT_EQ(availability[1].toObject()["topic"].toString(), QStringLiteral("kr820/Oven_1/lost"));
    const MqttMessage raised = LostMessage(QStringLiteral("Oven_1"), true);
    EXPECT_EQ(raised.Topic, QStringLiteral("kr820/Oven_1/lost"));
    EXPECT_EQ(raised.Payload, "ON");
    EXPECT_TRUE(raised.Retain);
}

TEST(DiscoveryMessages, TheUnitFollowsTheMeterAndNoTemperatureSensorWaitsForIt) {
    const auto messages = DiscoveryMessages(QStringLiteral("a"), QStringLiteral("a"),
                                            core::DisplayUnit::Fahrenheit, {}, 60);
    EXPECT_EQ(Json(messages[0].Payload)["unit_of_measurement"].toString(), QStringLiteral("°F"));
    // Before the first reading the unit is not known: no sensor in a unit that may be wrong.
    for (const MqttMessage& message :
         DiscoveryMessages(QStringLiteral("a"), QStringLiteral("a"), std::nullopt, {}, 60))
        EXPECT_FALSE(message.Topic.startsWith(QStringLiteral("homeassistant/sensor/")))
            << message.Topic.toStdString();
}

}  // namespace
}  // namespace kr820::feeds
