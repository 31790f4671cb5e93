// SPDX-License-Identifier: MIT
#include "feeds/metrics_server.h"

#include <QPointer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <list>

namespace kr820::feeds {
namespace {

// A request's line and headers; a scraper sends a few hundred bytes.
constexpr qsizetype kLongestHead = 16 * 1024;
// A response not taken by its reader within this is dropped.
constexpr int kResponseLimitMs = 10000;

QByteArray Response(const QByteArray& status, const QByteArray& type, const QByteArray& body,
                    bool withBody, const QByteArray& extra = {}) {
    QByteArray head = "HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                      "\r\nContent-Length: " + QByteArray::number(body.size()) +
                      "\r\nConnection: close\r\n" + extra + "\r\n";
    return withBody ? head + body : head;
}

}  // namespace

class MetricsListener : public QObject {
public:
    explicit MetricsListener(MetricsServer::Body body) : m_body(std::move(body)) {
        connect(&m_server, &QTcpServer::newConnection, this, &MetricsListener::Accept);
    }
    ~MetricsListener() override {
        // The connections go with the server; none of them may call back meanwhile.
        for (QTcpSocket* socket : m_server.findChildren<QTcpSocket*>()) socket->disconnect(this);
    }

    // Empty when listening; the reason otherwise.
    QString Listen(const MetricsAddress& address) {
        if (m_server.listen(address.Host, address.Port)) return {};
        QString reason = m_server.errorString();
        if (!reason.isEmpty()) reason[0] = reason[0].toLower();
        return reason;
    }
    quint16 Port() const { return m_server.serverPort(); }

private:
    void Accept() {
        while (QTcpSocket* socket = m_server.nextPendingConnection()) {
            if (static_cast<int>(m_waiting.size()) >= MetricsServer::kConnectionLimit) {
                QPointer<QTcpSocket> oldest = m_waiting.front();
                m_waiting.pop_front();
                if (oldest) oldest->abort();
            }
            m_waiting.push_back(socket);
            auto* limit = new QTimer(socket);
            limit->setSingleShot(true);
            connect(limit, &QTimer::timeout, socket, &QTcpSocket::abort);
            limit->start(MetricsServer::kRequestLimitMs);
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
            connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
                Forget(socket);
                socket->deleteLater();
            });
            connect(socket, &QTcpSocket::errorOccurred, this, [this, socket] {
                Forget(socket);
                socket->deleteLater();
            });
        }
    }

    void Forget(QTcpSocket* socket) {
        m_waiting.remove_if([socket](const QPointer<QTcpSocket>& p) { return !p || p == socket; });
    }

    void Read(QTcpSocket* socket) {
        if (socket->property("answered").toBool()) {
            socket->readAll();
            return;
        }
        QByteArray head = socket->property("head").toByteArray();
        head += socket->read(kLongestHead + 1 - head.size());
        qsizetype end = head.indexOf("\r\n\r\n");
        if (end < 0) end = head.indexOf("\n\n");
        if (end < 0) {
            if (head.size() > kLongestHead) {
                Answer(socket, Response("431 Request Header Fields Too Large", "text/plain",
                                        "the request is too long\n", true));
            } else {
                socket->setProperty("head", head);
            }
            return;
        }
        const QList<QByteArray> words = head.left(head.indexOf('\n')).trimmed().split(' ');
        if (words.size() != 3 || !words[2].startsWith("HTTP/")) {
            Answer(socket, Response("400 Bad Request", "text/plain", "no HTTP request\n", true));
            return;
        }
        const QByteArray& method = words[0];
        const QByteArray path =
            words[1].left(words[1].indexOf('?') < 0 ? words[1].size() : words[1].indexOf('?'));
        const bool headOnly = method == "HEAD";
        if (path != "/metrics") {
            Answer(socket, Response("404 Not Found", "text/plain", "the metrics are at /metrics\n",
                                    !headOnly));
        } else if (method != "GET" && !headOnly) {
            Answer(socket,
                   Response("405 Method Not Allowed", "text/plain",
                            "only GET and HEAD are served\n", true, "Allow: GET, HEAD\r\n"));
        } else {
            Answer(socket, Response("200 OK", "text/plain; version=0.0.4; charset=utf-8",
                                    QByteArray::fromStdString(m_body()), !headOnly));
        }
    }

    void Answer(QTcpSocket* socket, const QByteArray& response) {
        Forget(socket);
        socket->setProperty("answered", true);
        if (auto* limit = socket->findChild<QTimer*>()) limit->start(kResponseLimitMs);
        socket->write(response);
        socket->disconnectFromHost();
    }

    MetricsServer::Body m_body;
    QTcpServer m_server;
    // Connections still waiting for their request, oldest first.
    std::list<QPointer<QTcpSocket>> m_waiting;
};

std::variant<std::unique_ptr<MetricsServer>, QString> MetricsServer::Start(
    const MetricsAddress& address, Body body) {
    std::unique_ptr<MetricsServer> server(new MetricsServer);
    server->m_thread.setObjectName(QStringLiteral("metrics"));
    server->m_anchor.moveToThread(&server->m_thread);
    server->m_thread.start();
    QString error;
    MetricsServer* self = server.get();
    QMetaObject::invokeMethod(
        &server->m_anchor,
        [self, &address, &body, &error] {
            auto* listener = new MetricsListener(std::move(body));
            error = listener->Listen(address);
            self->m_port = listener->Port();
            self->m_listener = listener;
        },
        Qt::BlockingQueuedConnection);
    if (!error.isEmpty()) {
        return QStringLiteral("the metrics cannot be served on %1: %2").arg(address.Text(), error);
    }
    return server;
}

MetricsServer::~MetricsServer() {
    if (m_listener) {
        MetricsListener* listener = m_listener;
        QMetaObject::invokeMethod(
            &m_anchor, [listener] { delete listener; }, Qt::BlockingQueuedConnection);
    }
    m_thread.quit();
    m_thread.wait();
}

}  // namespace kr820::feeds
