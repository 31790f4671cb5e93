// SPDX-License-Identifier: MIT
#include "app/publish_settings.h"

#include <QFileInfo>
#include <QSettings>
#include <QUrl>

namespace kr820::app {
namespace {

const QString kGroup = QStringLiteral("Publish");

}  // namespace

PublishSettings ReadPublishSettings(QSettings& settings) {
    PublishSettings chosen;
    settings.beginGroup(kGroup);
    chosen.On = settings.value("On", chosen.On).toBool();
    chosen.Url = settings.value("Url").toString();
    chosen.CaFile = settings.value("CaFile").toString();
    chosen.User = settings.value("User").toString();
    chosen.RememberPassword = settings.value("RememberPassword", false).toBool();
    if (chosen.RememberPassword) chosen.Password = settings.value("Password").toString();
    chosen.MeterName = settings.value("MeterName", chosen.MeterName).toString();
    const qlonglong queue = settings.value("QueueLimit", qlonglong(chosen.QueueLimit)).toLongLong();
    if (queue > 0) chosen.QueueLimit = queue;
    settings.endGroup();
    return chosen;
}

void WritePublishSettings(QSettings& settings, const PublishSettings& chosen) {
    settings.beginGroup(kGroup);
    settings.setValue("On", chosen.On);
    settings.setValue("Url", chosen.Url);
    settings.setValue("CaFile", chosen.CaFile);
    settings.setValue("User", chosen.User);
    settings.setValue("RememberPassword", chosen.RememberPassword);
    // Not remembered: a password kept by an earlier choice goes too.
    if (chosen.RememberPassword) {
        settings.setValue("Password", chosen.Password);
    } else {
        settings.remove("Password");
    }
    settings.setValue("MeterName", chosen.MeterName);
    settings.setValue("QueueLimit", qlonglong(chosen.QueueLimit));
    settings.endGroup();
}

std::variant<feeds::MqttSettings, PublishRefusal> MqttSettingsOf(const PublishSettings& chosen) {
    const QString url = chosen.Url.trimmed();
    // The password has a field of its own here, kept out of the address.
    if (!QUrl(url).password().isEmpty())
        return PublishRefusal{PublishField::Url,
                              QStringLiteral("The broker address holds a password: type it in "
                                             "the Password field instead.")};
    auto parsed = feeds::ParseMqttUrl(url);
    if (std::holds_alternative<feeds::MqttSettingsError>(parsed))
        return PublishRefusal{PublishField::Url,
                              QStringLiteral("\"%1\" is no broker address: use mqtt://host:1883 "
                                             "or mqtts://host:8883.")
                                  .arg(url)};
    feeds::MqttSettings settings = std::get<feeds::MqttSettings>(parsed);
    const QString caFile = chosen.CaFile.trimmed();
    if (!caFile.isEmpty()) {
        if (!settings.Tls)
            return PublishRefusal{PublishField::CaFile,
                                  QStringLiteral("A CA file is for an mqtts:// broker only.")};
        const QFileInfo ca(caFile);
        if (!ca.isFile() || !ca.isReadable())
            return PublishRefusal{
                PublishField::CaFile,
                QStringLiteral("The CA file \"%1\" is not there or cannot be read.").arg(caFile)};
        settings.CaFile = caFile;
    }
    if (chosen.MeterName.trimmed().isEmpty())
        return PublishRefusal{PublishField::MeterName,
                              QStringLiteral("Give the meter a name for its topics.")};
    if (!chosen.User.isEmpty()) settings.User = chosen.User;
    settings.Password = chosen.Password;
    settings.QueueLimit = chosen.QueueLimit;
    return settings;
}

}  // namespace kr820::app
