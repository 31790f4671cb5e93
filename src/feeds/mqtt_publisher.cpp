// SPDX-License-Identifier: MIT
#include "feeds/mqtt_publisher.h"

#include <mosquitto.h>
#include <openssl/ssl.h>
#include <openssl/x509.h>

#include <QCoreApplication>
#include <QSysInfo>
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <mutex>

#include "feeds/feeds_log.h"

namespace kr820::feeds {
namespace {

// Reading messages handed to the library at once: enough to keep the line busy after an
// outage, few enough that what the library holds stays small.
constexpr int kWindow = 60;

// A connection the broker drops sooner than this after accepting it was likely pushed out by
// another client with the same id.
constexpr qint64 kQuickDropMs = 3000;

void InitLibraryOnce() {
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

// The index of the meter lost alarm in core::kAllAlarms.
int LostIndex() {
    for (int i = 0; i < core::kAlarmCount; ++i)
        if (core::kAllAlarms[i].Kind == core::AlarmKind::MeterLost) return i;
    return 0;
}

bool LostRaised(const FeedAlarms& alarms) {
    return alarms.Watched[LostIndex()] && alarms.Active[LostIndex()];
}

}  // namespace

QString MqttStateName(MqttState state) {
    switch (state) {
        case MqttState::Connecting:
            return QStringLiteral("connecting");
        case MqttState::Connected:
            return QStringLiteral("connected");
        case MqttState::Away:
            return QStringLiteral("away");
    }
    return {};
}

MqttPublisher::MqttPublisher(const QString& meterName, const QString& topicName,
                             const MqttSettings& settings, QObject* parent)
    : QObject(parent),
      m_meterName(meterName),
      m_topicName(topicName),
      m_settings(settings),
      m_queue(settings.QueueLimit) {}

MqttPublisher::~MqttPublisher() {
    if (!m_client) return;
    if (m_state == MqttState::Connected) {
        // A clean goodbye sends no last will, so the availability is said here.
        Publish({AvailabilityTopic(m_topicName), kOffline, true});
        if (mosquitto_disconnect(m_client) == MOSQ_ERR_SUCCESS) {
            std::unique_lock lock(m_loopMutex);
            m_loopSignal.wait_for(lock, std::chrono::seconds(2), [this] { return m_gone; });
        }
    }
    if (m_loop.joinable()) {
        {
            std::lock_guard lock(m_loopMutex);
            m_stopping = true;
        }
        m_loopSignal.notify_all();
        m_loop.join();
    }
    mosquitto_destroy(m_client);
}

std::optional<QString> MqttPublisher::Start() {
    InitLibraryOnce();
    // The process id keeps two services of one meter name on one host from pushing each other
    // off the broker (it lets one id in at a time).
    m_clientId = QStringLiteral("kr820-%1-%2-%3")
                     .arg(QSysInfo::machineHostName(), m_topicName)
                     .arg(QCoreApplication::applicationPid());
    const QByteArray clientId = m_clientId.toUtf8();
    m_client = mosquitto_new(clientId.constData(), true, this);
    if (!m_client) return QStringLiteral("the MQTT client could not be made");
    // The connection runs on a thread of ours (RunLoop), not the library's: its own gives up
    // for good on some failures (a name the resolver does not know yet, a first connection
    // refused), and a service must keep trying.
    mosquitto_threaded_set(m_client, true);
    mosquitto_connect_callback_set(m_client, &MqttPublisher::OnConnect);
    mosquitto_disconnect_callback_set(m_client, &MqttPublisher::OnDisconnect);
    mosquitto_publish_callback_set(m_client, &MqttPublisher::OnPublish);
    mosquitto_log_callback_set(m_client, &MqttPublisher::OnLog);

    const QByteArray willTopic = AvailabilityTopic(m_topicName).toUtf8();
    mosquitto_will_set(m_client, willTopic.constData(), kOffline.size(), kOffline.constData(), 1,
                       true);
    if (!m_settings.User.isEmpty()) {
        const QByteArray user = m_settings.User.toUtf8();
        const QByteArray password = m_settings.Password.toUtf8();
        mosquitto_username_pw_set(m_client, user.constData(),
                                  m_settings.Password.isEmpty() ? nullptr : password.constData());
    }
    if (m_settings.Tls) {
        if (auto problem = CaFileProblem(m_settings.CaFile)) return problem;
        const QByteArray caFile = m_settings.CaFile.toUtf8();
        const int rc = mosquitto_tls_set(m_client, caFile.isEmpty() ? nullptr : caFile.constData(),
                                         caFile.isEmpty() ? "/etc/ssl/certs" : nullptr, nullptr,
                                         nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            return QStringLiteral("the broker's CA file \"%1\" cannot be used: %2")
                .arg(m_settings.CaFile, QString::fromUtf8(mosquitto_strerror(rc)));
        }
    }
    m_loop = std::thread([this] { RunLoop(); });
    return std::nullopt;
}

void MqttPublisher::RunLoop() {
    const QByteArray host = m_settings.Host.toUtf8();
    int waitSeconds = m_settings.ReconnectFirstSeconds;
    bool told = false;
    for (;;) {
        // Not blocking: the connection completes in the loop below, so a stop is never held
        // up by a broker that does not answer.
        int rc = mosquitto_connect_async(m_client, host.constData(), m_settings.Port,
                                         m_settings.KeepAliveSeconds);
        bool accepted = false;
        if (rc == MOSQ_ERR_SUCCESS) {
            while (!Stopping() && (rc = mosquitto_loop(m_client, 500, 1)) == MOSQ_ERR_SUCCESS) {
                if (m_acknowledged.exchange(false)) {
                    waitSeconds = m_settings.ReconnectFirstSeconds;
                    accepted = true;
                    told = false;
                }
            }
        }
        if (Stopping()) return;
        // A connection that was up is reported as it drops (Disconnected), not here.
        if (!accepted) {
            const QString reason = FailureText(rc);
            QMetaObject::invokeMethod(
                this, [this, reason] { NoteAwayReason(reason); }, Qt::QueuedConnection);
            // Once per outage: a broker away for a day would fill the journal otherwise.
            if (!told)
                qCInfo(lcFeeds, "%s: broker %s:%d not reached: %s; trying again",
                       qPrintable(m_meterName), host.constData(), m_settings.Port,
                       qPrintable(reason));
            told = true;
        }
        m_tlsReason.clear();
        std::unique_lock lock(m_loopMutex);
        if (m_loopSignal.wait_for(lock, std::chrono::seconds(waitSeconds),
                                  [this] { return m_stopping; }))
            return;
        waitSeconds = std::min(waitSeconds * 2, m_settings.ReconnectLastSeconds);
    }
}

bool MqttPublisher::Stopping() {
    std::lock_guard lock(m_loopMutex);
    return m_stopping;
}

void MqttPublisher::TakeReading(const FeedReading& reading) {
    const qint64 droppedBefore = m_queue.Dropped();
    m_queue.Push(reading);
    if (m_queue.Dropped() != droppedBefore && m_queue.Dropped() % 3600 == 1) {
        qCWarning(lcFeeds, "%s: the broker's queue is full: the oldest readings are dropped",
                  qPrintable(m_meterName));
    }
    Pump();
    emit queueChanged();
}

void MqttPublisher::SetMeterAvailable(bool available) {
    if (available == m_meterAvailable) return;
    m_meterAvailable = available;
    if (m_state == MqttState::Connected)
        Publish({AvailabilityTopic(m_topicName), available ? kOnline : kOffline, true});
}

void MqttPublisher::SetDiscovery(std::optional<core::DisplayUnit> unit, const FeedAlarms& alarms) {
    // Only which alarms are watched shapes the configs; their state travels with the readings,
    // but for the meter lost alarm's, which has a topic of its own.
    const bool configsChanged = unit != m_unit || alarms.Watched != m_alarms.Watched;
    const bool lostChanged = LostRaised(alarms) != LostRaised(m_alarms);
    m_unit = unit;
    m_alarms = alarms;
    if (m_state != MqttState::Connected) return;
    if (configsChanged) {
        for (const MqttMessage& message : Discovery()) Publish(message);
    }
    if (configsChanged || lostChanged) PublishLost();
}

std::vector<MqttMessage> MqttPublisher::Discovery() const {
    return DiscoveryMessages(m_meterName, m_topicName, m_unit, m_alarms,
                             m_settings.ExpireAfterSeconds);
}

void MqttPublisher::PublishLost() {
    if (m_alarms.Watched[LostIndex()]) Publish(LostMessage(m_topicName, LostRaised(m_alarms)));
}

void MqttPublisher::OnConnect(mosquitto*, void* self, int rc) {
    auto* publisher = static_cast<MqttPublisher*>(self);
    if (rc == 0) publisher->m_acknowledged = true;
    QMetaObject::invokeMethod(
        publisher, [publisher, rc] { publisher->Connected(rc); }, Qt::QueuedConnection);
}

void MqttPublisher::OnDisconnect(mosquitto*, void* self, int rc) {
    auto* publisher = static_cast<MqttPublisher*>(self);
    {
        std::lock_guard lock(publisher->m_loopMutex);
        publisher->m_gone = true;
    }
    publisher->m_loopSignal.notify_all();
    const QString why = rc == 0 ? QStringLiteral("closed") : publisher->FailureText(rc);
    QMetaObject::invokeMethod(
        publisher, [publisher, why] { publisher->Disconnected(why); }, Qt::QueuedConnection);
}

void MqttPublisher::OnLog(mosquitto* client, void* self, int level, const char* text) {
    if (level != MOSQ_LOG_ERR || !QByteArray(text).startsWith("OpenSSL Error")) return;
    auto* publisher = static_cast<MqttPublisher*>(self);
    if (!publisher->m_tlsReason.isEmpty()) return;
    // A certificate refused says why in its verification's result, not in the error queue.
    if (auto* ssl = static_cast<SSL*>(mosquitto_ssl_get(client))) {
        const long verified = SSL_get_verify_result(ssl);
        // The library checks the host name itself and fails it without a reason of OpenSSL's.
        if (verified == X509_V_ERR_UNSPECIFIED) {
            publisher->m_tlsReason =
                QStringLiteral("the broker's certificate is refused: it is not for the host %1")
                    .arg(publisher->m_settings.Host);
            return;
        }
        if (verified != X509_V_OK) {
            publisher->m_tlsReason =
                QStringLiteral("the broker's certificate is refused: %1")
                    .arg(QString::fromUtf8(X509_verify_cert_error_string(verified)));
            return;
        }
    }
    // "OpenSSL Error[0]: error:0A00010B:SSL routines::wrong version number": the reason is last.
    const QString line = QString::fromUtf8(text);
    publisher->m_tlsReason = line.section(u':', -1).trimmed();
}

QString MqttPublisher::FailureText(int rc) const {
    // A TLS failure comes back under several codes (the handshake runs inside reads and writes).
    if (!m_tlsReason.isEmpty() || rc == MOSQ_ERR_TLS) {
        return QStringLiteral("TLS failed: %1")
            .arg(m_tlsReason.isEmpty() ? QString::fromUtf8(mosquitto_strerror(rc)) : m_tlsReason);
    }
    switch (rc) {
        case MOSQ_ERR_ERRNO:
            return qt_error_string(errno);
        case MOSQ_ERR_KEEPALIVE:
            return QStringLiteral("the broker stopped answering (no reply within %1 s)")
                .arg(m_settings.KeepAliveSeconds);
        default:
            return QString::fromUtf8(mosquitto_strerror(rc));
    }
}

void MqttPublisher::OnPublish(mosquitto*, void* self, int mid) {
    auto* publisher = static_cast<MqttPublisher*>(self);
    QMetaObject::invokeMethod(
        publisher, [publisher, mid] { publisher->Published(mid); }, Qt::QueuedConnection);
}

void MqttPublisher::Connected(int rc) {
    if (rc != 0) {
        // Refused (bad user or password, not authorised): the library tries again with backoff;
        // the log says why, once per refusal.
        qCWarning(lcFeeds, "%s: the broker refused the connection: %s", qPrintable(m_meterName),
                  mosquitto_connack_string(rc));
        NoteAwayReason(QString::fromUtf8(mosquitto_connack_string(rc)));
        SetState(MqttState::Away);
        return;
    }
    {
        std::lock_guard lock(m_loopMutex);
        m_gone = false;
    }
    qCInfo(lcFeeds, "%s: connected to the broker %s:%d as %s", qPrintable(m_meterName),
           qPrintable(m_settings.Host), m_settings.Port, qPrintable(m_clientId));
    m_connectedFor.start();
    SetState(MqttState::Connected);
    PublishRetained();
    Pump();
}

void MqttPublisher::Disconnected(const QString& why) {
    if (m_state == MqttState::Connected) {
        const qint64 connectedMs = m_connectedFor.elapsed();
        if (connectedMs >= kQuickDropMs) {
            m_quickDropTold = false;
            qCWarning(lcFeeds, "%s: the broker is away (%s); %lld readings waiting",
                      qPrintable(m_meterName), qPrintable(why),
                      static_cast<long long>(m_queue.Length()));
        } else if (!m_quickDropTold) {
            // Told once: a broker that does so every time would fill the journal.
            m_quickDropTold = true;
            qCWarning(lcFeeds,
                      "%s: the broker dropped the connection %.1f s after accepting it (%s): "
                      "another client with the id %s?",
                      qPrintable(m_meterName), static_cast<double>(connectedMs) / 1000.0,
                      qPrintable(why), qPrintable(m_clientId));
        }
        NoteAwayReason(why);
    }
    SetState(MqttState::Away);
}

void MqttPublisher::Published(int mid) {
    if (m_readingMids.remove(mid)) {
        Pump();
        emit queueChanged();
    }
}

void MqttPublisher::NoteAwayReason(const QString& reason) {
    if (reason == m_awayReason) return;
    m_awayReason = reason;
    emit awayReasonChanged();
}

void MqttPublisher::SetState(MqttState state) {
    if (state == m_state) return;
    m_state = state;
    emit stateChanged(state);
}

void MqttPublisher::Pump() {
    while (m_state == MqttState::Connected && !m_queue.Empty() && m_readingMids.size() < kWindow) {
        // A reading the library would not take stays at the front for the next try.
        bool taken = true;
        for (const MqttMessage& message : ReadingMessages(m_topicName, m_queue.Front())) {
            const int mid = Publish(message);
            if (mid >= 0) m_readingMids.insert(mid);
            taken = taken && mid >= 0;
            if (!taken) break;
        }
        if (!taken) break;
        m_queue.PopFront();
    }
}

int MqttPublisher::Publish(const MqttMessage& message) {
    const QByteArray topic = message.Topic.toUtf8();
    int mid = -1;
    const int rc = mosquitto_publish(m_client, &mid, topic.constData(),
                                     static_cast<int>(message.Payload.size()),
                                     message.Payload.constData(), 1, message.Retain);
    if (rc != MOSQ_ERR_SUCCESS) {
        qCWarning(lcFeeds, "%s: %s not published: %s", qPrintable(m_meterName), topic.constData(),
                  mosquitto_strerror(rc));
        return -1;
    }
    return mid;
}

void MqttPublisher::PublishRetained() {
    Publish({AvailabilityTopic(m_topicName), m_meterAvailable ? kOnline : kOffline, true});
    for (const MqttMessage& message : Discovery()) Publish(message);
    PublishLost();
}

}  // namespace kr820::feeds
