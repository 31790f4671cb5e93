// SPDX-License-Identifier: MIT
#include "cli/serve_options.h"

#include <QLocale>
#include <QSet>
#include <variant>

#include "feeds/metrics_address.h"
#include "feeds/mqtt_settings.h"

namespace kr820::cli {
namespace {

// A queued reading takes about 90 bytes: ten million is a gigabyte.
constexpr qsizetype kLongestQueue = 10'000'000;

}  // namespace

ServedDevice ServedDeviceOf(const QString& text) {
    const qsizetype equals = text.indexOf(u'=');
    if (equals < 0) return {text, {}};
    return {text.left(equals), text.mid(equals + 1)};
}

std::optional<QString> ReadServeOptions(const ServeOptionTexts& texts, ServeOptions& options) {
    QSet<QString> paths;
    QSet<QString> names;
    for (const QString& text : texts.devices) {
        const ServedDevice device = ServedDeviceOf(text);
        if (device.path.trimmed().isEmpty() ||
            (text.contains(u'=') && device.name.trimmed().isEmpty()))
            return QStringLiteral("invalid value '%1' for --device (allowed: PATH or PATH=NAME)")
                .arg(text);
        if (paths.contains(device.path))
            return QStringLiteral("--device %1 is named twice").arg(device.path);
        if (!device.name.isEmpty() && names.contains(device.name))
            return QStringLiteral("two devices are named '%1'").arg(device.name);
        paths.insert(device.path);
        if (!device.name.isEmpty()) names.insert(device.name);
        options.devices.push_back(device);
    }
    const bool mqtt = !texts.mqttUrl.isNull();
    if (mqtt) {
        const auto parsed = feeds::ParseMqttUrl(texts.mqttUrl);
        if (const auto* error = std::get_if<feeds::MqttSettingsError>(&parsed))
            return error->message;
        if (!texts.mqttCa.isNull() && !std::get<feeds::MqttSettings>(parsed).Tls)
            return QStringLiteral("--mqtt-ca needs an mqtts:// broker address");
        // A password goes with a user; without one the broker would never be asked for it.
        if (!texts.mqttPasswordFile.isNull() && texts.mqttUser.isEmpty() &&
            std::get<feeds::MqttSettings>(parsed).User.isEmpty())
            return QStringLiteral("--mqtt-password-file needs --mqtt-user");
        options.mqttUrl = texts.mqttUrl;
    } else {
        for (const auto& [given, name] :
             {std::pair{texts.mqttCa, "--mqtt-ca"}, std::pair{texts.mqttUser, "--mqtt-user"},
              std::pair{texts.mqttPasswordFile, "--mqtt-password-file"},
              std::pair{texts.mqttQueue, "--mqtt-queue"}}) {
            if (!given.isNull()) return QStringLiteral("%1 needs --mqtt").arg(QLatin1String(name));
        }
    }
    options.mqttCa = texts.mqttCa;
    options.mqttUser = texts.mqttUser;
    options.mqttPasswordFile = texts.mqttPasswordFile;
    if (!texts.mqttQueue.isNull()) {
        bool ok = false;
        const qlonglong queue = QLocale::c().toLongLong(texts.mqttQueue, &ok);
        if (!ok || queue < 1 || queue > kLongestQueue)
            return QStringLiteral(
                       "invalid value '%1' for --mqtt-queue (allowed: readings from 1 "
                       "to %2)")
                .arg(texts.mqttQueue)
                .arg(kLongestQueue);
        options.mqttQueue = queue;
    }
    if (!texts.metrics.isNull()) {
        const auto address = feeds::ParseMetricsAddress(texts.metrics);
        if (const auto* error = std::get_if<QString>(&address)) return *error;
    }
    options.metrics = texts.metrics;
    return std::nullopt;
}

}  // namespace kr820::cli
