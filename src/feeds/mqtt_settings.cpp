// SPDX-License-Identifier: MIT
#include "feeds/mqtt_settings.h"

#include <QFile>
#include <QFileInfo>
#include <QUrl>

namespace kr820::feeds {

std::variant<MqttSettings, MqttSettingsError> ParseMqttUrl(const QString& text) {
    const QUrl url(text, QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != u"mqtt" && scheme != u"mqtts") || url.host().isEmpty()) {
        return MqttSettingsError{
            QStringLiteral("\"%1\" is no broker address: use mqtt://HOST[:PORT] or "
                           "mqtts://HOST[:PORT]")
                .arg(text)};
    }
    if (!url.password().isEmpty()) {
        return MqttSettingsError{
            QStringLiteral(
                "the broker address holds a password: give it in a file or in %1 instead")
                .arg(QLatin1String(kMqttPasswordVariable))};
    }
    if (!url.path().isEmpty() && url.path() != u"/") {
        return MqttSettingsError{QStringLiteral("\"%1\": a broker address has no path").arg(text)};
    }
    MqttSettings settings;
    settings.Host = url.host();
    settings.Tls = scheme == u"mqtts";
    settings.Port = url.port(settings.Tls ? 8883 : 1883);
    settings.User = url.userName();
    return settings;
}

std::variant<std::optional<QString>, MqttSettingsError> ReadMqttPassword(
    const QString& passwordFile, const QProcessEnvironment& environment) {
    if (!passwordFile.isEmpty()) {
        QFile file(passwordFile);
        if (!file.open(QIODevice::ReadOnly)) {
            return MqttSettingsError{QStringLiteral("cannot read the password file \"%1\": %2")
                                         .arg(passwordFile, file.errorString())};
        }
        // The first line: editors add a line end, and a password has none.
        QByteArray line = file.readLine(4096);
        while (line.endsWith('\n') || line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) {
            return MqttSettingsError{
                QStringLiteral("the password file \"%1\" holds no password on its first line")
                    .arg(passwordFile)};
        }
        return std::optional<QString>(QString::fromUtf8(line));
    }
    const QString variable = QLatin1String(kMqttPasswordVariable);
    if (environment.contains(variable)) return std::optional<QString>(environment.value(variable));
    return std::optional<QString>();
}

std::optional<QString> PasswordFileExposure(const QString& passwordFile) {
    if (passwordFile.isEmpty() || !QFileInfo(passwordFile).permission(QFile::ReadOther))
        return std::nullopt;
    return QStringLiteral(
               "the password file \"%1\" may be read by every user of this machine: "
               "chmod o-r it")
        .arg(passwordFile);
}

std::optional<QString> CaFileProblem(const QString& caFile) {
    if (caFile.isEmpty()) return std::nullopt;
    QFile file(caFile);
    if (!file.open(QIODevice::ReadOnly)) {
        return QStringLiteral("the broker's CA file \"%1\" cannot be read: %2")
            .arg(caFile, file.errorString());
    }
    // A CA file is short; a megabyte read is plenty to find its first certificate.
    if (!file.read(1 << 20).contains("-----BEGIN CERTIFICATE-----")) {
        return QStringLiteral("the broker's CA file \"%1\" holds no certificate (PEM)").arg(caFile);
    }
    return std::nullopt;
}

std::optional<QString> MqttSettingsProblem(const MqttSettings& settings) {
    if (settings.Tls) return CaFileProblem(settings.CaFile);
    return std::nullopt;
}

}  // namespace kr820::feeds
