// SPDX-License-Identifier: MIT
#pragma once

#include <QHostAddress>
#include <QString>
#include <variant>

namespace kr820::feeds {

// Where the metrics are served: "ADDRESS:PORT", ":PORT" or "PORT" (127.0.0.1 when no address is
// given; port 0 takes a free one). An IPv6 address stands in brackets ("[::1]:9820"); "[::]"
// is every address, IPv6 and IPv4.
struct MetricsAddress {
    QHostAddress Host;
    QString HostText;  // as written in a URL: "127.0.0.1", "[::1]"
    quint16 Port = 0;

    QString Text() const { return HostText + u':' + QString::number(Port); }
};

// The address, or why the text is none ("\"99999\" is no metrics address: ...").
std::variant<MetricsAddress, QString> ParseMetricsAddress(const QString& text);

}  // namespace kr820::feeds
