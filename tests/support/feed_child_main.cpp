// SPDX-License-Identifier: MIT
// A service in miniature for the feeds' tests: one meter named by the first argument, a reading
// every tenth of a second to the broker on the loopback port of the second, until it is killed.
// It prints "connected" once the broker has it.
#include <QCoreApplication>
#include <QDateTime>
#include <QTimer>
#include <cstdio>

#include "feeds/feed_hub.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3) return 2;
    kr820::feeds::FeedHub hub;
    kr820::feeds::MqttSettings settings;
    settings.Host = QStringLiteral("127.0.0.1");
    settings.Port = QByteArray(argv[2]).toInt();
    kr820::feeds::MeterFeed& meter = hub.AddMeter(QString::fromUtf8(argv[1]));
    QObject::connect(&hub, &kr820::feeds::FeedHub::mqttStateChanged, &app,
                     [](const QString&, kr820::feeds::MqttState state) {
                         if (state == kr820::feeds::MqttState::Connected) {
                             std::puts("connected");
                             std::fflush(stdout);
                         }
                     });
    if (hub.StartMqtt(settings)) return 1;
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, &meter, [&meter] {
        kr820::core::LiveReading reading;
        reading.Celsius[0] = 20.5f;
        meter.TakeReading(reading, QDateTime::currentMSecsSinceEpoch());
    });
    timer.start(100);
    return app.exec();
}
