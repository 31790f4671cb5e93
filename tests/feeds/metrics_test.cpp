// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "feeds/feed_hub.h"
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
        QStringLiteral(R"(kr820_temperature_celsius{channel="T1",meter="oven"} 23.4)")))
        << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral(R"(channel="T2")"))) << text.toStdString();
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
    EXPECT_TRUE(text.contains(QStringLiteral(R"(kr820_link_errors_total{meter="oven"} 1)")));
    EXPECT_FALSE(
        text.contains(QStringLiteral(R"(kr820_temperature_celsius{channel="T1",meter="oven"})")));
    EXPECT_TRUE(text.contains(
        QStringLiteral(R"(kr820_temperature_celsius{channel="T1",meter="bath"} 40.5)")));
    EXPECT_TRUE(text.contains(QStringLiteral(R"(kr820_up{meter="bath"} 1)")));
}

TEST_F(Metrics, AlarmsSwitchedOnHaveASeriesEach) {
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    FeedAlarms alarms;
    alarms.Watched[0] = alarms.Active[0] = true;  // t1-high
    alarms.Watched[6] = true;                     // lost
    oven.TakeAlarms(alarms, 1000);
    const QString text = Scrape();
    EXPECT_TRUE(
        text.contains(QStringLiteral(R"(kr820_alarm{channel="T1",kind="high",meter="oven"} 1)")))
        << text.toStdString();
    EXPECT_TRUE(
        text.contains(QStringLiteral(R"(kr820_alarm{channel="",kind="lost",meter="oven"} 0)")));
    EXPECT_FALSE(text.contains(QStringLiteral(R"(kind="low")")));
}

TEST(MetricsAddress, RefusesWhatIsNoAddressAndAPortInUse) {
    FeedHub hub;
    EXPECT_TRUE(hub.StartMetrics(QStringLiteral("localhost:99999")).has_value());
    EXPECT_TRUE(hub.StartMetrics(QStringLiteral("0.0.0.0:80:1")).has_value());
    QTcpServer taken;
    ASSERT_TRUE(taken.listen(QHostAddress::LocalHost, 0));
    EXPECT_TRUE(
        hub.StartMetrics(QStringLiteral("127.0.0.1:%1").arg(taken.serverPort())).has_value());
    EXPECT_EQ(hub.MetricsPort(), 0);
}

}  // namespace
}  // namespace kr820::feeds
