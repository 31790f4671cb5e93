// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>
#include <mosquitto.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QThread>
#include <mutex>
#include <vector>

#include "loopback_ports.h"

namespace kr820::testing {

// Real servers on loopback ports for the feeds' tests: a mosquitto broker, a subscribing
// client, a Prometheus server. A test whose server program is not installed skips.

// A mosquitto broker that keeps its sessions on disk, so that a stop and a start lose nothing
// a subscriber has not had yet.
class RunningBroker {
public:
    // `moreListeners`: configuration lines of further listeners (a TLS one, say), on the ports of
    // `morePorts`.
    explicit RunningBroker(const QByteArray& moreListeners = {}, std::vector<int> morePorts = {})
        : m_port(FreeLoopbackPort()), m_morePorts(std::move(morePorts)) {
        QFile config(m_dir.filePath(QStringLiteral("mosquitto.conf")));
        if (config.open(QIODevice::WriteOnly)) {
            QByteArray text = "listener " + QByteArray::number(m_port) +
                              " 127.0.0.1\nallow_anonymous true\npersistence true\n"
                              "persistence_location " +
                              m_dir.path().toUtf8() + "/\nlog_dest file " + m_dir.path().toUtf8() +
                              "/mosquitto.log\n";
            // As root, mosquitto would change to its own user, who cannot write here.
            if (geteuid() == 0) text += "user root\n";
            config.write(text + moreListeners);
        }
    }
    ~RunningBroker() { Stop(); }

    int Port() const { return m_port; }

    bool Start() {
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(ProgramPath(QStringLiteral("mosquitto")),
                        {QStringLiteral("-c"), m_dir.filePath(QStringLiteral("mosquitto.conf"))});
        if (!m_process.waitForStarted(10000) || !WaitForPort(m_port)) return false;
        for (const int port : m_morePorts)
            if (!WaitForPort(port)) return false;
        return true;
    }
    // A clean stop: the broker writes its sessions down first.
    void Stop() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.terminate();
        if (!m_process.waitForFinished(15000)) m_process.kill();
        m_process.waitForFinished(5000);
    }

private:
    QTemporaryDir m_dir;
    const int m_port;
    const std::vector<int> m_morePorts;
    QProcess m_process;
};

struct ReceivedMessage {
    std::string topic;
    std::string payload;
    bool retained = false;
};

// A subscriber to everything on the broker at QoS 1 with a session the broker keeps, so that
// across a broker's stop and start it misses nothing.
class Subscriber {
public:
    // Two subscribers at once need ids of their own: the broker lets one id in at a time.
    explicit Subscriber(int port, const char* filter = "#",
                        const char* clientId = "kr820-test-subscriber")
        : m_filter(filter) {
        mosquitto_lib_init();
        m_client = mosquitto_new(clientId, false, this);
        mosquitto_connect_callback_set(m_client, [](mosquitto* client, void* self, int rc) {
            if (rc == 0)
                mosquitto_subscribe(client, nullptr, static_cast<Subscriber*>(self)->m_filter, 1);
        });
        mosquitto_subscribe_callback_set(m_client,
                                         [](mosquitto*, void* self, int, int, const int*) {
                                             static_cast<Subscriber*>(self)->m_subscribed = true;
                                         });
        mosquitto_message_callback_set(
            m_client, [](mosquitto*, void* self, const mosquitto_message* message) {
                auto* subscriber = static_cast<Subscriber*>(self);
                std::lock_guard lock(subscriber->m_mutex);
                subscriber->m_messages.push_back(
                    {message->topic,
                     std::string(static_cast<const char*>(message->payload),
                                 static_cast<size_t>(message->payloadlen)),
                     message->retain});
            });
        mosquitto_reconnect_delay_set(m_client, 1, 1, false);
        mosquitto_connect_async(m_client, "127.0.0.1", port, 30);
        mosquitto_loop_start(m_client);
    }
    ~Subscriber() {
        mosquitto_disconnect(m_client);
        mosquitto_loop_stop(m_client, true);
        mosquitto_destroy(m_client);
    }

    bool WaitSubscribed() {
        return WaitFor([this] { return m_subscribed.load(); });
    }

    std::vector<ReceivedMessage> On(const std::string& topic) const {
        std::lock_guard lock(m_mutex);
        std::vector<ReceivedMessage> found;
        for (const ReceivedMessage& message : m_messages)
            if (message.topic == topic) found.push_back(message);
        return found;
    }
    std::vector<ReceivedMessage> All() const {
        std::lock_guard lock(m_mutex);
        return m_messages;
    }

private:
    const char* m_filter;
    mosquitto* m_client = nullptr;
    std::atomic<bool> m_subscribed = false;
    mutable std::mutex m_mutex;
    std::vector<ReceivedMessage> m_messages;
};

// The body of a GET on loopback; empty when it fails.
inline QByteArray HttpGet(const QString& url, int limitMs = 10000) {
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    QNetworkReply* reply = manager.get(QNetworkRequest(QUrl(url)));
    WaitFor([reply] { return reply->isFinished(); }, limitMs);
    const QByteArray body =
        reply->error() == QNetworkReply::NoError ? reply->readAll() : QByteArray();
    reply->deleteLater();
    return body;
}

}  // namespace kr820::testing
