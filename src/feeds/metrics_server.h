// SPDX-License-Identifier: MIT
#pragma once

#include <QThread>
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "feeds/metrics_address.h"

namespace kr820::feeds {

class MetricsListener;

// The HTTP side of /metrics: GET and HEAD of /metrics, nothing else, on a thread of its own that
// serves every connection from one event loop, so that idle or slow clients never hold a scrape
// up (each has a few seconds to send its request, and the oldest waiting one makes room when too
// many wait). Every response closes its connection.
class MetricsServer {
public:
    // The text of a scrape, made on the server's thread.
    using Body = std::function<std::string()>;

    // An error text naming the address and the reason when it cannot be bound.
    static std::variant<std::unique_ptr<MetricsServer>, QString> Start(
        const MetricsAddress& address, Body body);
    ~MetricsServer();

    quint16 Port() const { return m_port; }

    // A client that has not sent its whole request within this is let go.
    static constexpr int kRequestLimitMs = 3000;
    // Connections at once; the next one closes the oldest still waiting for its request.
    static constexpr int kConnectionLimit = 256;

private:
    MetricsServer() = default;

    QThread m_thread;
    QObject m_anchor;                       // lives in m_thread: what runs there is queued to it
    MetricsListener* m_listener = nullptr;  // lives in m_thread
    quint16 m_port = 0;
};

}  // namespace kr820::feeds
