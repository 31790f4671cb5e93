// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

namespace kr820::cli {

// A meter named on serve's command line: --device PATH[=NAME].
struct ServedDevice {
    QString path;
    QString name;  // empty: the device's stable name (see StableDeviceName)
};

// What serve was asked to feed, and where to.
struct ServeOptions {
    std::vector<ServedDevice> devices;  // none: every meter found, now and later
    QString mqttUrl;                    // empty: no broker
    QString mqttCa;
    QString mqttUser;
    QString mqttPasswordFile;  // else $KR820_MQTT_PASSWORD
    qsizetype mqttQueue = 86400;
    QString metrics;  // [ADDRESS:]PORT; empty: no metrics endpoint
};

// "PATH" or "PATH=NAME", split at the first '=' (device paths have none).
ServedDevice ServedDeviceOf(const QString& text);

// The texts of serve's options as given (empty ones not given) checked and read; one line saying
// what is wrong otherwise.
struct ServeOptionTexts {
    QStringList devices;
    QString mqttUrl;
    QString mqttCa;
    QString mqttUser;
    QString mqttPasswordFile;
    QString mqttQueue;
    QString metrics;
};
std::optional<QString> ReadServeOptions(const ServeOptionTexts& texts, ServeOptions& options);

}  // namespace kr820::cli
