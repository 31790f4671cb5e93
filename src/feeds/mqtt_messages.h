// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <vector>

#include "feeds/feed_alarms.h"
#include "feeds/feed_reading.h"

namespace kr820::feeds {

// A meter's name as one level of a topic and a Home Assistant object id: letters, digits, '_'
// and '-' kept, anything else (a '/', '+' or '#' that would split or widen a topic, blanks,
// dots) becomes '_'. A device's name under /dev/serial/by-id keeps its shape.
QString TopicName(const QString& meterName);

struct MqttMessage {
    QString Topic;
    QByteArray Payload;
    bool Retain = false;
};

// The topics of one meter under kr820/<name>/.
QString StateTopic(const QString& topicName);
QString ChannelTopic(const QString& topicName, int channel);  // channel 1 or 2
QString AvailabilityTopic(const QString& topicName);
// The meter lost alarm: "ON" while raised, "OFF" otherwise, retained.
QString LostTopic(const QString& topicName);

inline const QByteArray kOnline = "online";
inline const QByteArray kOffline = "offline";
inline const QByteArray kOn = "ON";
inline const QByteArray kOff = "OFF";

MqttMessage LostMessage(const QString& topicName, bool lost);

// The messages of one reading, in the order they are sent: the state as JSON (time ISO 8601
// with its offset, t1, t2 in the unit shown or null, unit, validity, the active alarms), then
// each channel's plain number; a channel without a valid value has no plain message.
std::vector<MqttMessage> ReadingMessages(const QString& topicName, const FeedReading& reading);

// Home Assistant discovery: retained configs for T1 and T2 (once the unit the meter shows is
// known) and a binary sensor for each alarm switched on; an alarm switched off gets an empty
// retained config, which removes its sensor. Every entity names the same device, so each meter
// is one device. A sensor without a state for `expireAfterSeconds` shows unavailable (a hung
// service).
std::vector<MqttMessage> DiscoveryMessages(const QString& meterName, const QString& topicName,
                                           std::optional<core::DisplayUnit> unit,
                                           const FeedAlarms& alarms, int expireAfterSeconds);

}  // namespace kr820::feeds
