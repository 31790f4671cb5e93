// SPDX-License-Identifier: MIT
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QSet>
#include <QString>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "feeds/feed_alarms.h"
#include "feeds/mqtt_messages.h"
#include "feeds/mqtt_settings.h"
#include "feeds/reading_queue.h"

struct mosquitto;

namespace kr820::feeds {

enum class MqttState { Connecting, Connected, Away };

// "connecting", "connected", "away": for logs and a status bar.
QString MqttStateName(MqttState state);

// One meter's connection to the broker (each meter has its own, so that its availability can
// be the broker's last will). libmosquitto runs the connection on a thread of this object's,
// which reconnects with backoff (doubling from ReconnectFirstSeconds to ReconnectLastSeconds);
// the object itself lives in the caller's thread, which only queues: nothing here waits for
// the network. The library's callbacks come back as queued calls.
//
// Readings wait in a bounded queue and are handed to the library a few at a time, only while
// connected, at QoS 1, and leave the queue for good when the library has them: what it has
// not had acknowledged when the connection drops it sends again first when it is back, so the
// readings reach the broker in order.
class MqttPublisher : public QObject {
    Q_OBJECT

public:
    MqttPublisher(const QString& meterName, const QString& topicName, const MqttSettings& settings,
                  QObject* parent = nullptr);
    // Says "offline" and leaves the broker cleanly when connected (waiting a moment at most).
    ~MqttPublisher() override;

    // Starts connecting; an error for settings the library refuses (a missing CA file).
    std::optional<QString> Start();

    void TakeReading(const FeedReading& reading);
    // The meter's own availability: online while its link brings readings.
    void SetMeterAvailable(bool available);
    // What the discovery configs say (no temperature sensors while the unit is not known yet),
    // published again when it changes; with the meter lost alarm's retained state.
    void SetDiscovery(std::optional<core::DisplayUnit> unit, const FeedAlarms& alarms);
    // "kr820-HOST-NAME-PID": one a process and meter.
    const QString& ClientId() const { return m_clientId; }

    MqttState State() const { return m_state; }
    qsizetype QueueLength() const { return m_queue.Length(); }
    qint64 Dropped() const { return m_queue.Dropped(); }
    // Reading messages the library has but the broker has not acknowledged.
    qsizetype InFlight() const { return m_readingMids.size(); }
    // Why the broker was last away ("Connection refused", "not authorised"); empty before.
    const QString& AwayReason() const { return m_awayReason; }

signals:
    void stateChanged(kr820::feeds::MqttState state);
    void queueChanged();
    void awayReasonChanged();

private:
    static void OnConnect(mosquitto*, void* self, int rc);
    static void OnDisconnect(mosquitto*, void* self, int rc);
    static void OnPublish(mosquitto*, void* self, int mid);
    static void OnLog(mosquitto*, void* self, int level, const char* text);

    // Why a connection failed or dropped, for the log; on the connection's thread.
    QString FailureText(int rc) const;
    void Connected(int rc);
    void Disconnected(const QString& why);
    void Published(int mid);
    void SetState(MqttState state);
    void NoteAwayReason(const QString& reason);
    // Hands queued readings to the library while connected, up to the window.
    void Pump();
    int Publish(const MqttMessage& message);
    void PublishRetained();
    void PublishLost();
    std::vector<MqttMessage> Discovery() const;

    const QString m_meterName;
    const QString m_topicName;
    const MqttSettings m_settings;
    mosquitto* m_client = nullptr;
    MqttState m_state = MqttState::Connecting;
    QString m_awayReason;
    ReadingQueue m_queue;
    QSet<int> m_readingMids;
    bool m_meterAvailable = false;
    std::optional<core::DisplayUnit> m_unit;
    FeedAlarms m_alarms;
    QString m_clientId;
    QElapsedTimer m_connectedFor;
    bool m_quickDropTold = false;

    // The connection's thread and what it shares with this one.
    void RunLoop();
    bool Stopping();
    std::thread m_loop;
    std::mutex m_loopMutex;
    std::condition_variable m_loopSignal;
    bool m_stopping = false;
    bool m_gone = false;                       // the broker said goodbye
    std::atomic<bool> m_acknowledged = false;  // a connection was accepted: backoff from the start
    QString m_tlsReason;  // OpenSSL's word on the last TLS failure, until the next try
};

}  // namespace kr820::feeds
