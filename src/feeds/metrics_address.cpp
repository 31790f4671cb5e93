// SPDX-License-Identifier: MIT
#include "feeds/metrics_address.h"

#include <QRegularExpression>

namespace kr820::feeds {

std::variant<MetricsAddress, QString> ParseMetricsAddress(const QString& text) {
    static const QRegularExpression form(
        QStringLiteral(R"(^(?:(\[[0-9A-Fa-f:.]+\]|[0-9.]+|localhost)?:)?([0-9]{1,5})$)"));
    const QRegularExpressionMatch match = form.match(text.trimmed());
    const QString refusal = QStringLiteral(
                                "\"%1\" is no metrics address: use [ADDRESS:]PORT with a port up "
                                "to 65535, e.g. 127.0.0.1:9820 or [::1]:9820")
                                .arg(text);
    if (!match.hasMatch() || match.captured(2).toInt() > 65535) return refusal;
    MetricsAddress address;
    address.Port = static_cast<quint16>(match.captured(2).toInt());
    const QString host = match.captured(1);
    if (host.isEmpty() || host == u"localhost") {
        address.Host = QHostAddress(QHostAddress::LocalHost);
    } else if (host.startsWith(u'[')) {
        const QString inside = host.mid(1, host.size() - 2);
        address.Host = QHostAddress(inside);
        if (address.Host.protocol() != QAbstractSocket::IPv6Protocol) return refusal;
        // Every address of the machine, as "0.0.0.0" is for IPv4 alone.
        if (address.Host == QHostAddress(QHostAddress::AnyIPv6))
            address.Host = QHostAddress(QHostAddress::Any);
    } else {
        address.Host = QHostAddress(host);
        if (address.Host.protocol() != QAbstractSocket::IPv4Protocol) return refusal;
    }
    address.HostText = host.startsWith(u'[') ? host : address.Host.toString();
    return address;
}

}  // namespace kr820::feeds
