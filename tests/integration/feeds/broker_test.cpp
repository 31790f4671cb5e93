// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QTcpServer>
#include <mutex>

#include "feeds/feed_hub.h"
#include "link/live_readings.h"
#include "local_servers.h"

namespace kr820::feeds {
namespace {

using testing::ReceivedMessage;
using testing::WaitFor;

core::LiveReading Reading(float t1, float t2 = 20.0f) {
    core::LiveReading reading;
    reading.Celsius[static_cast<int>(core::LiveValue::T1)] = t1;
    reading.Celsius[static_cast<int>(core::LiveValue::T2)] = t2;
    return reading;
}

// Readings are stamped by a clock of the test's own: a second apart without waiting one.
constexpr qint64 kStart = 1'700'000'000'000;

MqttSettings Broker(int port) {
    MqttSettings settings;
    settings.Host = QStringLiteral("127.0.0.1");
    settings.Port = port;
    settings.ReconnectFirstSeconds = 1;
    settings.ReconnectLastSeconds = 2;
    return settings;
}

std::vector<double> T1Values(const std::vector<ReceivedMessage>& states) {
    std::vector<double> values;
    for (const ReceivedMessage& message : states) {
        values.push_back(QJsonDocument::fromJson(QByteArray::fromStdString(message.payload))
                             .object()[QStringLiteral("t1")]
                             .toDouble());
    }
    return values;
}

// What the feeds log while it lives.
class CapturedLog {
public:
    CapturedLog() {
        std::lock_guard lock(s_mutex);
        s_text.clear();
        m_previous = qInstallMessageHandler(&Handle);
    }
    ~CapturedLog() { qInstallMessageHandler(m_previous); }
    QString Text() const {
        std::lock_guard lock(s_mutex);
        return s_text;
    }

private:
    static void Handle(QtMsgType, const QMessageLogContext&, const QString& message) {
        std::lock_guard lock(s_mutex);
        s_text += message + u'\n';
    }
    static inline std::mutex s_mutex;
    static inline QString s_text;
    QtMessageHandler m_previous = nullptr;
};

class BrokerFeed : public ::testing::Test {
protected:
    void SetUp() override {
        KR820_SKIP_WITHOUT("mosquitto");
        broker = std::make_unique<testing::RunningBroker>();
        ASSERT_TRUE(broker->Start());
        subscriber = std::make_unique<testing::Subscriber>(broker->Port());
        ASSERT_TRUE(subscriber->WaitSubscribed());
    }
    bool Connected(const MeterFeed& meter) const {
        return WaitFor(
            [&] { return meter.Mqtt() && meter.Mqtt()->State() == MqttState::Connected; });
    }

    std::unique_ptr<testing::RunningBroker> broker;
    std::unique_ptr<testing::Subscriber> subscriber;
};

TEST_F(BrokerFeed, ReadingsAvailabilityAndDiscoveryReachASubscriber) {
    FeedHub hub;
    ASSERT_FALSE(hub.StartMqtt(Broker(broker->Port())).has_value());
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    ASSERT_TRUE(Connected(oven));
    link::LiveReadings readings;
    oven.Follow(readings);
    readings.Publish(Reading(23.4f, 25.0f), kStart);

    ASSERT_TRUE(WaitFor([&] { return !subscriber->On("kr820/oven/state").empty(); }));
    ASSERT_TRUE(WaitFor([&] { return !subscriber->On("kr820/oven/t2").empty(); }));
    EXPECT_EQ(subscriber->On("kr820/oven/t1").front().payload, "23.4");
    EXPECT_EQ(subscriber->On("kr820/oven/t2").front().payload, "25.0");
    ASSERT_TRUE(WaitFor([&] {
        const auto availability = subscriber->On("kr820/oven/availability");
        return !availability.empty() && availability.back().payload == "online";
    }));
    const auto config = subscriber->On("homeassistant/sensor/kr820_oven_t1/config");
    ASSERT_FALSE(config.empty());
    const QJsonObject t1 =
        QJsonDocument::fromJson(QByteArray::fromStdString(config.back().payload)).object();
    EXPECT_EQ(t1[QStringLiteral("device_class")].toString(), QStringLiteral("temperature"));
    EXPECT_FALSE(subscriber->On("homeassistant/sensor/kr820_oven_t2/config").empty());
}

TEST_F(BrokerFeed, AServiceThatStopsSaysOfflineItself) {
    {
        FeedHub hub;
        ASSERT_FALSE(hub.StartMqtt(Broker(broker->Port())).has_value());
        MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
        ASSERT_TRUE(Connected(oven));
        oven.TakeReading(Reading(23.4f), kStart);
        ASSERT_TRUE(WaitFor([&] { return !subscriber->On("kr820/oven/state").empty(); }));
    }
    // A clean goodbye sends no last will: the offline must be the service's own.
    ASSERT_TRUE(WaitFor([&] {
        const auto availability = subscriber->On("kr820/oven/availability");
        return !availability.empty() && availability.back().payload == "offline";
    }));
}

TEST_F(BrokerFeed, ThirtyReadingsWhileTheBrokerIsAwayArriveInOrderOnceEach) {
    FeedHub hub;
    ASSERT_FALSE(hub.StartMqtt(Broker(broker->Port())).has_value());
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    ASSERT_TRUE(Connected(oven));
    for (int i = 0; i < 5; ++i) oven.TakeReading(Reading(10.0f + i), kStart + 1000 * i);
    ASSERT_TRUE(WaitFor([&] { return subscriber->On("kr820/oven/state").size() == 5; }));

    // The broker has acknowledged them all: a reading it had not would be sent again.
    ASSERT_TRUE(WaitFor([&] { return oven.Mqtt()->InFlight() == 0; }));
    broker->Stop();
    ASSERT_TRUE(WaitFor([&] { return oven.Mqtt()->State() != MqttState::Connected; }));
    for (int i = 5; i < 35; ++i) oven.TakeReading(Reading(10.0f + i), kStart + 1000 * i);
    EXPECT_EQ(oven.Mqtt()->QueueLength(), 30);
    ASSERT_TRUE(broker->Start());

    ASSERT_TRUE(WaitFor([&] { return subscriber->On("kr820/oven/state").size() >= 35; }, 60000))
        << subscriber->On("kr820/oven/state").size();
    // Anything sent twice would have come by now.
    WaitFor([] { return false; }, 1000);
    std::vector<double> expected;
    for (int i = 0; i < 35; ++i) expected.push_back(10.0 + i);
    EXPECT_EQ(T1Values(subscriber->On("kr820/oven/state")), expected);
    EXPECT_EQ(oven.Mqtt()->QueueLength(), 0);
    EXPECT_EQ(oven.Mqtt()->Dropped(), 0);
}

TEST_F(BrokerFeed, ABrokerStartedAfterTheServiceIsFoundAndGetsWhatWaited) {
    broker->Stop();
    FeedHub hub;
    ASSERT_FALSE(hub.StartMqtt(Broker(broker->Port())).has_value());
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    for (int i = 0; i < 3; ++i) oven.TakeReading(Reading(50.0f + i), kStart + 1000 * i);
    WaitFor([] { return false; }, 1500);  // a try or two against nobody
    ASSERT_TRUE(broker->Start());
    ASSERT_TRUE(WaitFor([&] { return subscriber->On("kr820/oven/state").size() == 3; }, 60000));
    EXPECT_EQ(T1Values(subscriber->On("kr820/oven/state")), (std::vector<double>{50, 51, 52}));
}

TEST_F(BrokerFeed, TheLastWillSaysOfflineWhenTheServiceIsKilled) {
    QProcess child;
    child.start(QStringLiteral(KR820_FEED_CHILD),
                {QStringLiteral("kiln"), QString::number(broker->Port())});
    ASSERT_TRUE(child.waitForStarted(10000));
    QByteArray said;
    ASSERT_TRUE(WaitFor([&] {
        said += child.readAllStandardOutput();
        return said.contains("connected");
    }));
    ASSERT_TRUE(WaitFor([&] {
        const auto availability = subscriber->On("kr820/kiln/availability");
        return !availability.empty() && availability.back().payload == "online";
    }));
    child.kill();
    child.waitForFinished(10000);
    ASSERT_TRUE(WaitFor([&] {
        const auto availability = subscriber->On("kr820/kiln/availability");
        return !availability.empty() && availability.back().payload == "offline";
    }));
}

TEST_F(BrokerFeed, OneMeterLostTheOthersReadingsGoOn) {
    FeedHub hub;
    ASSERT_FALSE(hub.StartMqtt(Broker(broker->Port())).has_value());
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    MeterFeed& bath = hub.AddMeter(QStringLiteral("bath"));
    ASSERT_TRUE(Connected(oven));
    ASSERT_TRUE(Connected(bath));
    link::LiveReadings ovenLink;
    link::LiveReadings bathLink;
    oven.Follow(ovenLink);
    bath.Follow(bathLink);
    ovenLink.Publish(Reading(100.0f), kStart);
    bathLink.Publish(Reading(37.0f), kStart);
    ovenLink.PublishLinkLost(kStart + 3000);
    for (int i = 1; i <= 5; ++i) bathLink.Publish(Reading(37.0f + i), kStart + 1000 * i);

    ASSERT_TRUE(WaitFor([&] { return subscriber->On("kr820/bath/state").size() == 6; }));
    EXPECT_EQ(T1Values(subscriber->On("kr820/bath/state")).back(), 42.0);
    // The oven's messages come on a connection of their own: its reading first, so that the
    // offline looked for is the loss, not the one said at connecting.
    ASSERT_TRUE(WaitFor([&] { return !subscriber->On("kr820/oven/state").empty(); }));
    ASSERT_TRUE(WaitFor([&] {
        const auto availability = subscriber->On("kr820/oven/availability");
        return !availability.empty() && availability.back().payload == "offline";
    }));
    EXPECT_EQ(subscriber->On("kr820/bath/availability").back().payload, "online");
    EXPECT_EQ(subscriber->On("kr820/oven/state").size(), 1u);
}

// Two connections with one client id push each other off; the one pushed off right after it was
// let in says so, naming its id (which holds the process's, so that two services differ).
TEST_F(BrokerFeed, APublisherPushedOffByAnotherClientWithItsIdSaysSo) {
    CapturedLog log;
    FeedHub hub;
    ASSERT_FALSE(hub.StartMqtt(Broker(broker->Port())).has_value());
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    ASSERT_TRUE(Connected(oven));
    const QByteArray id = oven.Mqtt()->ClientId().toUtf8();
    EXPECT_TRUE(id.endsWith("-oven-" + QByteArray::number(QCoreApplication::applicationPid())))
        << id.toStdString();
    testing::Subscriber intruder(broker->Port(), "nothing/#", id.constData());
    EXPECT_TRUE(WaitFor(
        [&] { return log.Text().contains(QStringLiteral("another client with the id ") + id); },
        60000))
        << log.Text().toStdString();
}

TEST(SilentBroker, ABrokerThatAcceptsAndNeverAnswersIsLoggedNamingTheTimeout) {
    QTcpServer silent;
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    std::vector<QTcpSocket*> held;
    QObject::connect(&silent, &QTcpServer::newConnection,
                     [&] { held.push_back(silent.nextPendingConnection()); });
    CapturedLog log;
    FeedHub hub;
    MqttSettings settings = Broker(silent.serverPort());
    settings.KeepAliveSeconds = 5;
    ASSERT_FALSE(hub.StartMqtt(settings).has_value());
    hub.AddMeter(QStringLiteral("kiln"));
    EXPECT_TRUE(WaitFor(
        [&] {
            return log.Text().contains(
                QStringLiteral("the broker stopped answering (no reply within 5 s)"));
        },
        60000))
        << log.Text().toStdString();
    EXPECT_FALSE(held.empty());
    EXPECT_FALSE(log.Text().contains(QStringLiteral("Unknown error")));
}

// A certificate authority, a broker certificate it signed for "localhost", and another
// authority, made with openssl in `dir`.
bool MakeCertificates(const QString& dir) {
    const auto run = [&](const QStringList& arguments) {
        QProcess openssl;
        openssl.setWorkingDirectory(dir);
        openssl.setProcessChannelMode(QProcess::MergedChannels);
        openssl.start(testing::ProgramPath(QStringLiteral("openssl")), arguments);
        const bool done = openssl.waitForFinished(60000) && openssl.exitCode() == 0;
        if (!done) ADD_FAILURE() << openssl.readAll().toStdString();
        return done;
    };
    const QStringList key{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    QFile extensions(dir + QStringLiteral("/broker.ext"));
    if (!extensions.open(QIODevice::WriteOnly)) return false;
    extensions.write("subjectAltName=DNS:localhost\n");
    extensions.close();
    return run(QStringList{"req", "-x509"} + key +
               QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj",
                           "/CN=kr820 test CA"}) &&
           run(QStringList{"req", "-x509"} + key +
               QStringList{"-keyout", "other.key", "-out", "other.pem", "-days", "2", "-subj",
                           "/CN=kr820 other CA"}) &&
           run(QStringList{"req"} + key +
               QStringList{"-keyout", "broker.key", "-out", "broker.csr", "-subj",
                           "/CN=localhost"}) &&
           run({"x509", "-req", "-in", "broker.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                "-CAcreateserial", "-out", "broker.crt", "-days", "2", "-extfile", "broker.ext"});
}

TEST(TlsBroker, ConnectsWithItsAuthorityAndNamesTheCauseOfEachFailure) {
    KR820_SKIP_WITHOUT("mosquitto");
    KR820_SKIP_WITHOUT("openssl");
    QTemporaryDir dir;
    ASSERT_TRUE(MakeCertificates(dir.path()));
    const int tlsPort = testing::FreeLoopbackPort();
    const QByteArray files = dir.path().toUtf8();
    testing::RunningBroker broker("listener " + QByteArray::number(tlsPort) +
                                      " 127.0.0.1\ncafile " + files + "/ca.pem\ncertfile " + files +
                                      "/broker.crt\nkeyfile " + files + "/broker.key\n",
                                  {tlsPort});
    ASSERT_TRUE(broker.Start());
    testing::Subscriber subscriber(broker.Port());
    ASSERT_TRUE(subscriber.WaitSubscribed());
    const auto tls = [&](const QString& host, int port, const QString& ca) {
        MqttSettings settings = Broker(port);
        settings.Host = host;
        settings.Tls = true;
        settings.CaFile = ca;
        return settings;
    };
    const QString ca = dir.filePath(QStringLiteral("ca.pem"));
    {
        FeedHub hub;
        ASSERT_FALSE(hub.StartMqtt(tls(QStringLiteral("localhost"), tlsPort, ca)).has_value());
        hub.AddMeter(QStringLiteral("good")).TakeReading(Reading(20.5f), kStart);
        EXPECT_TRUE(WaitFor([&] { return !subscriber.On("kr820/good/state").empty(); }));
    }
    struct Failure {
        const char* meter;
        MqttSettings settings;
        const char* cause;
    };
    for (const Failure& failure :
         {Failure{
              "wrongca",
              tls(QStringLiteral("localhost"), tlsPort, dir.filePath(QStringLiteral("other.pem"))),
              "the broker's certificate is refused: self-signed certificate in certificate chain"},
          Failure{
              "systemca", tls(QStringLiteral("localhost"), tlsPort, QString()),
              "the broker's certificate is refused: self-signed certificate in certificate chain"},
          Failure{"wronghost", tls(QStringLiteral("127.0.0.1"), tlsPort, ca),
                  "the broker's certificate is refused: it is not for the host 127.0.0.1"},
          Failure{"plain", tls(QStringLiteral("localhost"), broker.Port(), ca), "TLS failed: "}}) {
        CapturedLog log;
        FeedHub hub;
        ASSERT_FALSE(hub.StartMqtt(failure.settings).has_value());
        hub.AddMeter(QString::fromLatin1(failure.meter));
        const QString told = QString::fromLatin1(failure.meter) + QStringLiteral(": broker ");
        EXPECT_TRUE(WaitFor([&] { return log.Text().contains(told); }, 30000)) << failure.meter;
        EXPECT_TRUE(log.Text().contains(QString::fromUtf8(failure.cause)))
            << failure.meter << "\n"
            << log.Text().toStdString();
        EXPECT_FALSE(log.Text().contains(QStringLiteral("A TLS error occurred")))
            << log.Text().toStdString();
    }
}

}  // namespace
}  // namespace kr820::feeds
