// SPDX-License-Identifier: MIT
// Long runs of the whole program (headless, against the emulator), for memory that grows when it
// should not: two hours of polling on a stepped clock, then two real-time recordings of 100,000
// points each (the most the program takes for one), the ticks driven directly. The second hour and the second recording show the
// steady state: what the first took is allocated once, anything more grows again.
// Usage: soak_figure [points per recording, default 99999]
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QComboBox>
#include <QEventLoop>
#include <QTimer>
#include <QTemporaryDir>
#include <cmath>
#include <cstdio>
#include <memory>

#include "app/frm_main.h"
#include "core/chart/chart_data.h"
#include "fake_prompter.h"
#include "graph/frm_graph.h"
#include "meter/frm_setup_real_time.h"
#include "meter_emulator.h"
#include "process_figures.h"

namespace {

using kr820::bench::HeapInUseKiB;
using kr820::bench::ResidentKiB;

struct Memory {
    long rss = ResidentKiB();
    long heap = HeapInUseKiB();
};

struct Soak {
    kr820::emulator::MeterEmulator* meter = nullptr;
    kr820::testing::FakePrompter prompter;
    std::unique_ptr<kr820::app::TfrmMain> window;
    qint64 clockMs = 1'700'000'000'000;

    void Tick() {
        clockMs += 1000;
        window->Link().MainTimerTimer();
    }

    // One hour of polls, each waiting for its answer; returns how many answers came.
    int PollForAnHour() {
        int answered = 0;
        for (int second = 0; second < 3600; ++second) {
            Tick();  // takes the last answer's flag and polls again
            QElapsedTimer wait;
            wait.start();
            while (!window->State().FrameReceived && wait.elapsed() < 1000)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
            answered += window->State().FrameReceived ? 1 : 0;
        }
        return answered;
    }

    // A recording of `points` points at one a second; the live reading changes every tick. The
    // meter stays silent meanwhile: its answers would fill the line between two passes of the
    // event loop, which only every 500th tick gets.
    void Record(int points) {
        meter->SetSilent(true);
        prompter.confirmAnswer = kr820::ui::Prompter::Answer::No;  // drop the last recording
        prompter.onDialog = [points](QDialog& dialog) {
            auto* setup = qobject_cast<kr820::meter::TfrmSetupRealTime*>(&dialog);
            if (!setup) return int(QDialog::Rejected);
            setup->findChild<QLineEdit*>("edtRealTimeNo")->setText(QString::number(points));
            setup->findChild<QComboBox*>("txtRate")->setCurrentIndex(0);
            return int(QDialog::Accepted);
        };
        window->btnRunClick();
        for (int tick = 0; window->State().RealTimeRecording; ++tick) {
            kr820::core::LiveReading live;
            live.Celsius[0] = 20.0f + 5.0f * std::sin(tick / 500.0f);
            live.Celsius[1] = 30.0f + float(tick % 97) / 10.0f;
            window->Link().Readings().Publish(live, 0);
            window->State().FrameReceived = true;
            window->State().Connected = true;
            Tick();
            if (tick % 500 == 0) QCoreApplication::processEvents();  // draw
        }
        QCoreApplication::processEvents();
        meter->SetSilent(false);
    }
};

void Report(const char* what, const Memory& before, const Memory& after, double per,
            const char* unit) {
    std::printf("%s\n  RSS %ld KiB -> %ld KiB: %+ld KiB, %+.1f bytes %s\n", what, before.rss,
                after.rss, after.rss - before.rss, (after.rss - before.rss) * 1024.0 / per, unit);
    std::printf("  heap in use %ld KiB -> %ld KiB: %+ld KiB, %+.1f bytes %s\n", before.heap,
                after.heap, after.heap - before.heap, (after.heap - before.heap) * 1024.0 / per,
                unit);
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int points = argc > 1 ? std::atoi(argv[1]) : 99999;
    QTemporaryDir home;
    qputenv("KR820_HOME", home.path().toLocal8Bit());
    kr820::emulator::MeterEmulator meter;
    std::string error;
    const QString device = home.filePath("meter");
    if (!meter.Start(&error) || !meter.MakeSymlink(device.toStdString(), &error)) {
        std::fprintf(stderr, "emulator: %s\n", error.c_str());
        return 1;
    }
    Soak soak;
    soak.meter = &meter;
    soak.window = std::make_unique<kr820::app::TfrmMain>(
        soak.prompter, [&](QStringList& list) { list << device; },
        kr820::link::SteadyClock::Shared());
    QEventLoop startup;
    QObject::connect(soak.window.get(), &kr820::app::TfrmMain::startupFinished, &startup,
                     &QEventLoop::quit);
    QTimer::singleShot(10000, &startup, &QEventLoop::quit);
    soak.window->show();
    startup.exec();
    if (!soak.window->State().Connected) {
        std::fprintf(stderr, "the program found no meter\n");
        return 1;
    }
    soak.window->MainTimer().stop();  // the figure makes the ticks
    soak.window->Link().SetWallClock([&soak] { return soak.clockMs; });

    QElapsedTimer wall;
    wall.start();
    meter.ClearReceived();
    Memory before;
    int answered = soak.PollForAnHour();
    Memory after;
    Report("polling, first hour:", before, after, 1.0, "an hour");
    std::printf("  %d of 3600 polls answered (%zu frames reached the meter), %.1f s\n", answered,
                meter.ReceivedBodies().size(), wall.elapsed() / 1000.0);
    before = after;
    answered = soak.PollForAnHour();
    after = Memory();
    Report("polling, second hour:", before, after, 1.0, "an hour");
    std::printf("  %d of 3600 polls answered\n", answered);

    for (int run = 1; run <= 2; ++run) {
        wall.restart();
        before = Memory();
        soak.Record(points);
        after = Memory();
        const int taken = soak.window->RealTimeGraphWindow()->Chart().Data().Points();
        Report(run == 1 ? "real-time, first recording:" : "real-time, second recording:", before,
               after, taken, "a point");
        std::printf("  %d points in %.1f s\n", taken, wall.elapsed() / 1000.0);
    }
    std::printf("a point's own storage: 24 bytes in the chart (X and Y of two subsets), as much "
                "again in the data list and 32 bytes in the plot's two lines\n");
    soak.window.reset();
    qunsetenv("KR820_HOME");
    return 0;
}
