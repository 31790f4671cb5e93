// SPDX-License-Identifier: MIT
// The feeds over a simulated day, readings stamped by a clock of their own (a second apart,
// without waiting one):
//   1. CPU: a day of readings for each of 4 meters through the hub to a real mosquitto broker on
//      a loopback port and to the metrics, sent and acknowledged; CPU time per reading as a
//      share of one core at one reading a second per meter.
//   2. Latency: 50 readings, 20 ms apart, from TakeReading to a subscriber holding them.
//   3. Memory: two days per meter with no broker: the queue fills in the first, drops the
//      oldest in the second; the heap after each shows whether it still grows.
// Usage: feeds_day_figure [readings per meter per day, default 86400]
#include <mosquitto.h>
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <vector>

#include "feeds/feed_hub.h"
#include "process_figures.h"

namespace {

using kr820::feeds::FeedHub;
using kr820::feeds::MeterFeed;
using kr820::feeds::MqttSettings;

constexpr int kMeters = 4;
constexpr qint64 kStart = 1'700'000'000'000;

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

int FreePort() {
    QTcpServer probe;
    probe.listen(QHostAddress::LocalHost, 0);
    return probe.serverPort();
}

template <typename Condition>
bool WaitFor(Condition condition, int limitMs) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < limitMs)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return condition();
}

kr820::core::LiveReading Reading(int i) {
    kr820::core::LiveReading reading;
    reading.Celsius[0] = 20.0f + static_cast<float>(i % 1000) / 10.0f;
    reading.Celsius[1] = 25.0f;
    return reading;
}

MqttSettings Broker(int port) {
    MqttSettings settings;
    settings.Host = QStringLiteral("127.0.0.1");
    settings.Port = port;
    return settings;
}

// Counts the state messages of every meter and notes when the last one came.
struct Counter {
    std::atomic<long> states = 0;
    std::atomic<qint64> lastNs = 0;
    QElapsedTimer clock;
};

void Cpu(int port, int readings) {
    FeedHub hub;
    hub.StartMetrics(QStringLiteral("127.0.0.1:0"));
    hub.StartMqtt(Broker(port));
    std::vector<MeterFeed*> meters;
    for (int m = 0; m < kMeters; ++m) meters.push_back(&hub.AddMeter(QStringLiteral("m%1").arg(m)));
    WaitFor([&] { return meters.back()->Mqtt()->State() == kr820::feeds::MqttState::Connected; },
            10000);
    const double before = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    for (int i = 0; i < readings; ++i) {
        for (MeterFeed* meter : meters) meter->TakeReading(Reading(i), kStart + 1000LL * i);
        if (i % 64 == 0) QCoreApplication::processEvents();
    }
    WaitFor(
        [&] {
            return std::all_of(meters.begin(), meters.end(), [](MeterFeed* meter) {
                return meter->Mqtt()->QueueLength() == 0 && meter->Mqtt()->InFlight() == 0;
            });
        },
        600000);
    const double cpu = CpuSeconds() - before;
    const double perReading = cpu / (double(readings) * kMeters);
    std::printf("CPU: %d readings x %d meters sent and acknowledged in %.1f s wall, %.2f s CPU\n",
                readings, kMeters, wall.elapsed() / 1000.0, cpu);
    std::printf(
        "     %.1f us CPU per reading: %.4f %% of a core per meter at one reading a second\n",
        perReading * 1e6, perReading * 100.0);
}

void Latency(int port) {
    Counter counter;
    counter.clock.start();
    mosquitto* subscriber = mosquitto_new(nullptr, true, &counter);
    mosquitto_message_callback_set(subscriber,
                                   [](mosquitto*, void* self, const mosquitto_message*) {
                                       auto* c = static_cast<Counter*>(self);
                                       c->lastNs = c->clock.nsecsElapsed();
                                       ++c->states;
                                   });
    mosquitto_connect(subscriber, "127.0.0.1", port, 30);
    mosquitto_subscribe(subscriber, nullptr, "kr820/lat/state", 1);
    mosquitto_loop_start(subscriber);
    QThread::msleep(300);

    FeedHub hub;
    hub.StartMqtt(Broker(port));
    MeterFeed& meter = hub.AddMeter(QStringLiteral("lat"));
    WaitFor([&] { return meter.Mqtt()->State() == kr820::feeds::MqttState::Connected; }, 10000);
    std::vector<double> ms;
    for (int i = 0; i < 50; ++i) {
        const long before = counter.states;
        const qint64 sent = counter.clock.nsecsElapsed();
        meter.TakeReading(Reading(i), kStart + 1000LL * i);
        WaitFor([&] { return counter.states > before; }, 5000);
        ms.push_back((counter.lastNs - sent) / 1e6);
        WaitFor([] { return false; }, 20);
    }
    std::sort(ms.begin(), ms.end());
    std::printf("Latency, reading to subscriber: median %.2f ms, 95th %.2f ms, max %.2f ms\n",
                ms[ms.size() / 2], ms[ms.size() * 95 / 100], ms.back());
    mosquitto_disconnect(subscriber);
    mosquitto_loop_stop(subscriber, true);
    mosquitto_destroy(subscriber);
}

void Memory(int readings) {
    FeedHub hub;
    hub.StartMetrics(QStringLiteral("127.0.0.1:0"));
    hub.StartMqtt(Broker(FreePort()));  // nobody there
    std::vector<MeterFeed*> meters;
    for (int m = 0; m < kMeters; ++m) meters.push_back(&hub.AddMeter(QStringLiteral("m%1").arg(m)));
    const long start = kr820::bench::HeapInUseKiB();
    for (int day = 1; day <= 2; ++day) {
        for (int i = 0; i < readings; ++i) {
            for (MeterFeed* meter : meters)
                meter->TakeReading(Reading(i), kStart + 1000LL * (i + (day - 1) * readings));
            if (i % 1024 == 0) QCoreApplication::processEvents();
        }
        std::printf(
            "Memory, no broker, after day %d: heap +%ld KiB (%ld KiB per meter), RSS %ld "
            "KiB; queue %lld, dropped %lld per meter\n",
            day, kr820::bench::HeapInUseKiB() - start,
            (kr820::bench::HeapInUseKiB() - start) / kMeters, kr820::bench::ResidentKiB(),
            static_cast<long long>(meters[0]->Mqtt()->QueueLength()),
            static_cast<long long>(meters[0]->Mqtt()->Dropped()));
    }
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int readings = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 86400;
    mosquitto_lib_init();

    const QString program = QStandardPaths::findExecutable(
        QStringLiteral("mosquitto"), {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin")});
    if (program.isEmpty()) {
        std::printf("mosquitto is not installed: CPU and latency skipped\n");
    } else {
        QTemporaryDir dir;
        const int port = FreePort();
        QFile config(dir.filePath(QStringLiteral("mosquitto.conf")));
        config.open(QIODevice::WriteOnly);
        config.write("listener " + QByteArray::number(port) +
                     " 127.0.0.1\nallow_anonymous true\nlog_dest none\n");
        config.close();
        QProcess broker;
        broker.start(program, {QStringLiteral("-c"), config.fileName()});
        broker.waitForStarted();
        QThread::msleep(500);
        Cpu(port, readings);
        Latency(port);
        broker.terminate();
        broker.waitForFinished();
    }
    Memory(readings);
    return 0;
}
