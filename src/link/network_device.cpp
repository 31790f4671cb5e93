// SPDX-License-Identifier: MIT
#include "link/network_device.h"

#include <QRegularExpression>

namespace kr820::link {
namespace {

const QString kRaw = QStringLiteral("tcp://");
const QString kRfc2217 = QStringLiteral("rfc2217://");

}  // namespace

bool IsNetworkDeviceName(const QString& name) {
    return name.startsWith(kRaw, Qt::CaseInsensitive) ||
           name.startsWith(kRfc2217, Qt::CaseInsensitive);
}

NetworkDeviceParse ParseNetworkDevice(const QString& name) {
    NetworkDevice device;
    device.protocol = name.startsWith(kRaw, Qt::CaseInsensitive) ? NetworkDevice::Protocol::Raw
                                                                 : NetworkDevice::Protocol::Rfc2217;
    const QString scheme = device.protocol == NetworkDevice::Protocol::Raw ? kRaw : kRfc2217;
    const QString error = QStringLiteral(
                              "%1 is no network device: write %2HOST:PORT, the port "
                              "from 1 to 65535")
                              .arg(name, scheme);
    static const QRegularExpression form(
        QStringLiteral(R"(^(?:\[([0-9A-Fa-f:.]+)\]|([^:/\[\]@\s]+)):(\d{1,5})/?$)"));
    const QRegularExpressionMatch match = form.match(name.mid(scheme.size()));
    if (!match.hasMatch()) return {std::nullopt, error};
    const int port = match.captured(3).toInt();
    if (port < 1 || port > 65535) return {std::nullopt, error};
    device.host = match.captured(1).isEmpty() ? match.captured(2) : match.captured(1);
    device.port = static_cast<quint16>(port);
    return {device, {}};
}

QStringList SplitDeviceList(const QString& list) {
    QStringList devices;
    const QStringList parts = list.split(QLatin1Char(':'));
    for (qsizetype i = 0; i < parts.size(); ++i) {
        QString entry = parts[i];
        // "tcp" followed by "//host" (or "//[v6" up to its "]") and the port: one device.
        if (i + 1 < parts.size() && IsNetworkDeviceName(entry + u':' + parts[i + 1])) {
            entry += u':' + parts[++i];
            if (entry.contains(u'[')) {
                while (!entry.contains(u']') && i + 1 < parts.size()) entry += u':' + parts[++i];
            }
            if (i + 1 < parts.size()) entry += u':' + parts[++i];
        }
        if (!entry.isEmpty()) devices << entry;
    }
    return devices;
}

}  // namespace kr820::link
