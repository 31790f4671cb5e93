// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QHostAddress>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QTcpServer>
#include <QTcpSocket>
#include <memory>
#include <vector>

#include "feeds/feed_hub.h"
#include "feeds/metrics_server.h"
#include "local_servers.h"

namespace kr820::feeds {
namespace {

using testing::HttpGet;

core::LiveReading Reading(float t1, float t2, quint16 invalid = 0) {
    core::LiveReading reading;
    reading.Celsius[static_cast<int>(core::LiveValue::T1)] = t1;
    reading.Celsius[static_cast<int>(core::LiveValue::T2)] = t2;
    reading.Invalid = invalid;
    return reading;
}

class Metrics : public ::testing::Test {
protected:
    void SetUp() override {
        const auto error = hub.StartMetrics(QStringLiteral("127.0.0.1:0"));
        ASSERT_FALSE(error.has_value()) << error->toStdString();
        ASSERT_GT(hub.MetricsPort(), 0);
    }
    QString Scrape() const {
        return QString::fromUtf8(
            HttpGet(QStringLiteral("http://127.0.0.1:%1/metrics").arg(hub.MetricsPort())));
    }

    FeedHub hub;
};

TEST_F(Metrics, AChannelWithoutAValidReadingIsAbsentNotZero) {
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    oven.TakeReading(Reading(23.4f, 0.0f, 0x0100), 1'700'000'000'500);
    const QString text = Scrape();
    EXPECT_TRUE(text.contains(
        QStringLiteral(R"(kr820_temperature_celsius{channel="t1",meter="oven"} 23.4)")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral(R"(channel="t2")"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral(R"(kr820_up{meter="oven"} 1)")));
    EXPECT_TRUE(text.contains(
        QStringLiteral(R"(kr820_reading_timestamp_seconds{meter="oven"} 1700000000.5)")))
        << text.toStdString();
}

TEST_F(Metrics, ALostMeterIsDownWithoutTemperaturesAndCountsTheLoss) {
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    MeterFeed& bath = hub.AddMeter(QStringLiteral("bath"));
    oven.TakeReading(Reading(23.4f, 24.0f), 1000);
    bath.TakeReading(Reading(40.0f, 41.0f), 1000);
    oven.TakeLinkLost(2000);
    bath.TakeReading(Reading(40.5f, 41.0f), 2000);
    const QString text = Scrape();
    EXPECT_TRUE(text.contains(QStringLiteral(R"(kr820_up{meter="oven"} 0)")));
    EXPECT_TRUE(text.contains(QStringLiteral(R"(kr820_link_losses_total{meter="oven"} 1)")));
    EXPECT_FALSE(
        text.contains(QStringLiteral(R"(kr820_temperature_celsius{channel="t1",meter="oven"})")));
    EXPECT_TRUE(text.contains(
        QStringLiteral(R"(kr820_temperature_celsius{channel="t1",meter="bath"} 40.5)")));
    EXPECT_TRUE(text.contains(QStringLiteral(R"(kr820_up{meter="bath"} 1)")));
}

TEST_F(Metrics, AlarmsSwitchedOnHaveASeriesEach) {
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    FeedAlarms alarms;
    alarms.Watched[0] = alarms.Active[0] = true;  // t1-high
    alarms.Watched[6] = true;                     // lost
    oven.TakeAlarms(alarms);
    const QString text = Scrape();
    EXPECT_TRUE(
        text.contains(QStringLiteral(R"(kr820_alarm{channel="t1",kind="high",meter="oven"} 1)")))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral(R"(kr820_alarm{channel="meter",kind="lost",meter="oven"} 0)")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral(R"(kind="low")")));
}

TEST_F(Metrics, TheBuildAndEachMetersDeviceAndModelAreSaid) {
    FeedHub built;
    ASSERT_FALSE(built.StartMetrics(QStringLiteral("127.0.0.1:0"), {"1.2.3", "abc123"}));
    built.AddMeter(QStringLiteral("oven"))
        .TakeMeterInfo(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("KR820"));
    const QString text = QString::fromUtf8(
        HttpGet(QStringLiteral("http://127.0.0.1:%1/metrics").arg(built.MetricsPort())));
    EXPECT_TRUE(
        text.contains(QStringLiteral(R"(kr820_build_info{revision="abc123",version="1.2.3"} 1)")))
        << text.toStdString();
    EXPECT_TRUE(text.contains(
        QStringLiteral(R"(kr820_meter_info{device="/dev/ttyUSB0",meter="oven",model="KR820"} 1)")))
        << text.toStdString();
}

// What a client that asks for the headers alone, or for another path, is answered.
TEST_F(Metrics, HeadGivesTheHeadersAndOtherPathsAreNotFound) {
    hub.AddMeter(QStringLiteral("oven")).TakeReading(Reading(23.4f, 24.0f), 1000);
    QNetworkAccessManager manager;
    manager.setProxy(QNetworkProxy::NoProxy);
    const QString base = QStringLiteral("http://127.0.0.1:%1").arg(hub.MetricsPort());
    QNetworkReply* head = manager.head(QNetworkRequest(QUrl(base + QStringLiteral("/metrics"))));
    ASSERT_TRUE(testing::WaitFor([head] { return head->isFinished(); }, 10000));
    EXPECT_EQ(head->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 200);
    EXPECT_TRUE(head->header(QNetworkRequest::ContentTypeHeader)
                    .toString()
                    .startsWith(QStringLiteral("text/plain; version=0.0.4")));
    EXPECT_EQ(head->header(QNetworkRequest::ContentLengthHeader).toLongLong(),
              Scrape().toUtf8().size());
    EXPECT_TRUE(head->readAll().isEmpty());
    QNetworkReply* other = manager.get(QNetworkRequest(QUrl(base + QStringLiteral("/other"))));
    ASSERT_TRUE(testing::WaitFor([other] { return other->isFinished(); }, 10000));
    EXPECT_EQ(other->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 404);
    QNetworkReply* post =
        manager.post(QNetworkRequest(QUrl(base + QStringLiteral("/metrics"))), QByteArray("x"));
    ASSERT_TRUE(testing::WaitFor([post] { return post->isFinished(); }, 10000));
    EXPECT_EQ(post->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt(), 405);
}

// Idle clients (connected, never asking) and a flood of them never keep a scraper waiting.
TEST_F(Metrics, ScrapesSucceedWhileFiftyIdleSocketsAreOpen) {
    hub.AddMeter(QStringLiteral("oven")).TakeReading(Reading(23.4f, 24.0f), 1000);
    std::vector<std::unique_ptr<QTcpSocket>> idle;
    const auto openIdle = [&](int count) {
        for (int i = 0; i < count; ++i) {
            idle.push_back(std::make_unique<QTcpSocket>());
            idle.back()->connectToHost(QHostAddress::LocalHost, hub.MetricsPort());
            ASSERT_TRUE(idle.back()->waitForConnected(5000));
        }
    };
    openIdle(50);
    for (int scrape = 0; scrape < 5; ++scrape) {
        EXPECT_TRUE(Scrape().contains(QStringLiteral(R"(kr820_up{meter="oven"} 1)")))
            << "scrape " << scrape;
        testing::WaitFor([] { return false; }, 1000);
    }
    // Beyond the bound the oldest idle ones make room.
    openIdle(MetricsServer::kConnectionLimit + 10);
    EXPECT_TRUE(Scrape().contains(QStringLiteral(R"(kr820_up{meter="oven"} 1)")));
}

TEST(MetricsAddress, RefusesWhatIsNoAddressAndNamesTheAddressAndReasonOfOneInUse) {
    FeedHub hub;
    for (const char* address : {"localhost:99999", "0.0.0.0:80:1", "[::1", "[1.2.3.4]:80", "::1:80",
                                "300.1.1.1:80", ""}) {
        const auto error = hub.StartMetrics(QString::fromLatin1(address));
        ASSERT_TRUE(error.has_value()) << address;
        EXPECT_TRUE(error->contains(QStringLiteral("[ADDRESS:]PORT"))) << error->toStdString();
    }
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    const QString address = QStringLiteral("127.0.0.1:%1").arg(taken.serverPort());
    const auto inUse = hub.StartMetrics(address);
    ASSERT_TRUE(inUse.has_value());
    EXPECT_TRUE(inUse->contains(address)) << inUse->toStdString();
    EXPECT_TRUE(inUse->contains(QStringLiteral("already in use"))) << inUse->toStdString();
    EXPECT_EQ(hub.MetricsPort(), 0);
    // An address this machine does not have.
    const auto foreign = hub.StartMetrics(QStringLiteral("192.0.2.1:9820"));
    ASSERT_TRUE(foreign.has_value());
    EXPECT_TRUE(foreign->contains(QStringLiteral("192.0.2.1:9820"))) << foreign->toStdString();
}

TEST(MetricsAddress, IPv6AddressesAreBound) {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHostIPv6, 0)) GTEST_SKIP() << "no IPv6 loopback here";
    probe.close();
    for (const char* host : {"[::1]", "[::]"}) {
        FeedHub hub;
        const auto error = hub.StartMetrics(QString::fromLatin1(host) + QStringLiteral(":0"));
        ASSERT_FALSE(error.has_value()) << error->toStdString();
        hub.AddMeter(QStringLiteral("oven"));
        EXPECT_TRUE(HttpGet(QStringLiteral("http://[::1]:%1/metrics").arg(hub.MetricsPort()))
                        .contains("kr820_up"))
            << host;
    }
}

}  // namespace
}  // namespace kr820::feeds
