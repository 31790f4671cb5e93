// SPDX-License-Identifier: MIT
#pragma once

#include <QProcessEnvironment>
#include <QString>
#include <optional>
#include <variant>

namespace kr820::feeds {

// How to reach the broker. The password never comes from the command line (anyone on the
// machine can read a process's arguments): ReadMqttPassword takes it from a file or the
// environment.
struct MqttSettings {
    QString Host;
    int Port = 1883;
    bool Tls = false;
    QString CaFile;  // mqtts: the certificate authority; empty for the system's
    QString User;
    QString Password;
    // Readings kept per meter while the broker is away: a day at one a second.
    qsizetype QueueLimit = 86400;
    // Kept short so that the broker notices a vanished service within a minute.
    int KeepAliveSeconds = 30;
    // Reconnection: waits from the first to the last, doubling.
    int ReconnectFirstSeconds = 1;
    int ReconnectLastSeconds = 60;
    // Home Assistant shows a sensor unavailable when no state came for so long.
    int ExpireAfterSeconds = 60;
};

struct MqttSettingsError {
    QString message;
};

// "mqtt://host[:port]" (1883) or "mqtts://host[:port]" (8883), a user in the address allowed
// ("mqtt://lab@host"); an address with a password in it is refused.
std::variant<MqttSettings, MqttSettingsError> ParseMqttUrl(const QString& url);

// Why the CA file cannot be used (unreadable, no PEM certificate in it); none for an empty name
// (the system's authorities).
std::optional<QString> CaFileProblem(const QString& caFile);

// Why the settings cannot be used before any connection is tried: the CA file's problem.
std::optional<QString> MqttSettingsProblem(const MqttSettings& settings);

// The environment variable that holds the broker's password.
inline constexpr char kMqttPasswordVariable[] = "KR820_MQTT_PASSWORD";

// The password from `passwordFile` when one is named (its first line, which must not be empty),
// else from the environment; none when neither has one.
std::variant<std::optional<QString>, MqttSettingsError> ReadMqttPassword(
    const QString& passwordFile, const QProcessEnvironment& environment);

// A warning when every user of the machine may read the password file; none otherwise.
std::optional<QString> PasswordFileExposure(const QString& passwordFile);

}  // namespace kr820::feeds
