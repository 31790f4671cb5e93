// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <variant>

#include "feeds/mqtt_settings.h"

class QSettings;

namespace kr820::app {

// What the user chose in Publish...: whether the desktop publishes its meter's readings, and to
// which broker. The password is kept in the program's settings only when the user asks for it.
struct PublishSettings {
    bool On = false;
    QString Url;
    QString CaFile;
    QString User;
    QString Password;
    bool RememberPassword = false;
    QString MeterName = QStringLiteral("desk");
    qsizetype QueueLimit = feeds::MqttSettings{}.QueueLimit;

    friend bool operator==(const PublishSettings&, const PublishSettings&) = default;
};

PublishSettings ReadPublishSettings(QSettings& settings);
void WritePublishSettings(QSettings& settings, const PublishSettings& chosen);

// Which field a refusal is about, so that the dialog can put the cursor there.
enum class PublishField { Url, CaFile, MeterName };

struct PublishRefusal {
    PublishField field;
    QString message;
};

// The broker's settings for the feeds, or why the choice cannot be used. A broker that is not
// there is no refusal: the feeds try it again and again.
std::variant<feeds::MqttSettings, PublishRefusal> MqttSettingsOf(const PublishSettings& chosen);

}  // namespace kr820::app
