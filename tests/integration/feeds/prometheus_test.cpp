// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>

#include "feeds/feed_hub.h"
#include "local_servers.h"

namespace kr820::feeds {
namespace {

using testing::HttpGet;
using testing::WaitFor;

core::LiveReading Reading(float t1, float t2) {
    core::LiveReading reading;
    reading.Celsius[static_cast<int>(core::LiveValue::T1)] = t1;
    reading.Celsius[static_cast<int>(core::LiveValue::T2)] = t2;
    return reading;
}

class RunningPrometheus {
public:
    explicit RunningPrometheus(int targetPort) : m_port(testing::FreeLoopbackPort()) {
        QFile config(m_dir.filePath(QStringLiteral("prometheus.yml")));
        if (config.open(QIODevice::WriteOnly)) {
            config.write(
                "global:\n  scrape_interval: 1s\n  scrape_timeout: 1s\n"
                "scrape_configs:\n  - job_name: kr820\n    static_configs:\n"
                "      - targets: ['127.0.0.1:" +
                QByteArray::number(targetPort) + "']\n");
        }
    }
    ~RunningPrometheus() {
        m_process.terminate();
        if (!m_process.waitForFinished(15000)) m_process.kill();
        m_process.waitForFinished(5000);
    }
    bool Start() {
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.setStandardOutputFile(m_dir.filePath(QStringLiteral("log")));
        m_process.start(
            testing::ProgramPath(QStringLiteral("prometheus")),
            {QStringLiteral("--config.file=") + m_dir.filePath(QStringLiteral("prometheus.yml")),
             QStringLiteral("--storage.tsdb.path=") + m_dir.filePath(QStringLiteral("data")),
             QStringLiteral("--web.listen-address=127.0.0.1:%1").arg(m_port)});
        return m_process.waitForStarted(10000) && testing::WaitForPort(m_port, 60000);
    }
    // The value of the query's first series, empty while it has none.
    QString Query(const QString& query) const {
        QUrlQuery parameters;
        parameters.addQueryItem(QStringLiteral("query"), query);
        QUrl url(QStringLiteral("http://127.0.0.1:%1/api/v1/query").arg(m_port));
        url.setQuery(parameters);
        const QJsonObject answer = QJsonDocument::fromJson(HttpGet(url.toString())).object();
        const QJsonArray result =
            answer[QStringLiteral("data")].toObject()[QStringLiteral("result")].toArray();
        if (result.isEmpty()) return {};
        return result.first().toObject()[QStringLiteral("value")].toArray().at(1).toString();
    }

private:
    QTemporaryDir m_dir;
    const int m_port;
    QProcess m_process;
};

TEST(PrometheusScrape, TheQueryApiReturnsT1WithinAFewScrapes) {
    KR820_SKIP_WITHOUT("prometheus");
    FeedHub hub;
    ASSERT_FALSE(hub.StartMetrics(QStringLiteral("127.0.0.1:0")).has_value());
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven"));
    oven.TakeReading(Reading(23.4f, 25.0f), QDateTime::currentMSecsSinceEpoch());

    RunningPrometheus prometheus(hub.MetricsPort());
    ASSERT_TRUE(prometheus.Start());
    QString t1;
    EXPECT_TRUE(WaitFor(
        [&] {
            t1 = prometheus.Query(
                QStringLiteral(R"(kr820_temperature_celsius{meter="oven",channel="t1"})"));
            return !t1.isEmpty();
        },
        90000));
    EXPECT_EQ(t1, QStringLiteral("23.4"));
    EXPECT_EQ(prometheus.Query(QStringLiteral(R"(up{job="kr820"})")), QStringLiteral("1"));
}

TEST(PrometheusScrape, PromtoolFindsTheMetricsClean) {
    KR820_SKIP_WITHOUT("promtool");
    FeedHub hub;
    ASSERT_FALSE(hub.StartMetrics(QStringLiteral("127.0.0.1:0"), {"1.0.0", ""}).has_value());
    MqttSettings settings;
    settings.Host = QStringLiteral("127.0.0.1");
    settings.Port = testing::FreeLoopbackPort();  // nobody there: the queue metrics show
    ASSERT_FALSE(hub.StartMqtt(settings).has_value());
    MeterFeed& oven = hub.AddMeter(QStringLiteral("oven \"1\"\\"));
    FeedAlarms alarms;
    alarms.Watched.fill(true);
    oven.TakeAlarms(alarms);
    oven.TakeReading(Reading(23.4f, 25.0f), 2000);
    hub.AddMeter(QStringLiteral("bath")).TakeLinkLost(2000);

    const QByteArray text =
        HttpGet(QStringLiteral("http://127.0.0.1:%1/metrics").arg(hub.MetricsPort()));
    ASSERT_FALSE(text.isEmpty());
    for (const char* name :
         {"kr820_temperature_celsius", "kr820_reading_timestamp_seconds", "kr820_up", "kr820_alarm",
          "kr820_link_losses_total", "kr820_build_info", "kr820_mqtt_queue_length",
          "kr820_mqtt_dropped_total"}) {
        EXPECT_TRUE(text.contains(QByteArray(name) + "{")) << name;
    }
    QProcess promtool;
    promtool.setProcessChannelMode(QProcess::MergedChannels);
    promtool.start(testing::ProgramPath(QStringLiteral("promtool")),
                   {QStringLiteral("check"), QStringLiteral("metrics")});
    ASSERT_TRUE(promtool.waitForStarted(10000));
    promtool.write(text);
    promtool.closeWriteChannel();
    ASSERT_TRUE(promtool.waitForFinished(30000));
    const QByteArray said = promtool.readAll();
    EXPECT_EQ(promtool.exitCode(), 0) << said.toStdString();
    EXPECT_TRUE(said.trimmed().isEmpty()) << said.toStdString() << "\n" << text.toStdString();
}

}  // namespace
}  // namespace kr820::feeds
