// SPDX-License-Identifier: MIT
// CPU time of the link while it idles: connected to the emulator and polling once a second, and
// during the setup's 3-second reply wait on a meter that does not answer. Prints both as a share
// of one core.
// Usage: idle_link_cpu_figure [seconds of polling, default 60] [milliseconds of each reply wait,
//        default the setup's reply limit]
#include <sys/resource.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "link/com_port.h"
#include "link/command_exchange.h"
#include "link/link_view.h"
#include "link/meter_link.h"
#include "link/port_attempts.h"
#include "meter_emulator.h"
#include "quiet_views.h"

namespace {

double CpuSeconds() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec +
           (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    const std::chrono::milliseconds replyWait = argc > 2
                                                    ? std::chrono::milliseconds(std::atoi(argv[2]))
                                                    : kr820::core::kReadSetup.replyLimit;

    kr820::emulator::MeterEmulator meter;
    std::string error;
    if (!meter.Start(&error)) {
        std::fprintf(stderr, "emulator: %s\n", error.c_str());
        return 1;
    }
    const QString device = QString::fromStdString(meter.DevicePath());
    kr820::core::AppState state;
    kr820::link::TComPort comm1;
    QTimer mainTimer;
    mainTimer.setInterval(1000);
    kr820::bench::QuietLinkView view;
    kr820::link::SteadyClock& clock = kr820::link::SteadyClock::Shared();
    kr820::link::MeterLink link(state, comm1, mainTimer, view, clock);
    QObject::connect(&mainTimer, &QTimer::timeout, [&] { link.MainTimerTimer(); });
    link.SetDevices({device});
    link.SearchMeter();
    if (!state.Connected) {
        std::fprintf(stderr, "the emulator was not found\n");
        return 1;
    }
    mainTimer.start();

    int frames = 0;
    QObject counter;
    link.Readings().FanOut().Attach(
        kr820::core::ReadingStage::Display, &counter,
        {.Reading = [&](const kr820::core::LiveReading&) { ++frames; }});
    QElapsedTimer wall;
    wall.start();
    const double cpuBefore = CpuSeconds();
    clock.Pause(std::chrono::seconds(seconds));
    const double idleShare = (CpuSeconds() - cpuBefore) / (wall.elapsed() / 1000.0);
    std::printf("polling idle: %d frames in %.1f s, CPU %.3f %% of one core\n", frames,
                wall.elapsed() / 1000.0, idleShare * 100.0);

    mainTimer.stop();
    meter.SetSilent(true);
    comm1.SetOnRxChar(nullptr);
    comm1.PurgeInput();
    kr820::link::SendCommand(comm1, kr820::core::kReadSetup);
    wall.restart();
    const double cpuWait = CpuSeconds();
    kr820::link::WaitForInput(comm1, clock, kr820::core::kReadSetup.replyBytes,
                              kr820::link::InputTarget::EqualTo, replyWait);
    const double waitShare = (CpuSeconds() - cpuWait) / (wall.elapsed() / 1000.0);
    std::printf("%.1f-second reply wait, nothing arrives: CPU %.3f %% of one core\n",
                replyWait.count() / 1000.0, waitShare * 100.0);

    // A short reply: part of the bytes are there and the rest never comes.
    meter.SetSilent(false);
    kr820::link::SendCommand(comm1, kr820::core::kModelQuery);
    wall.restart();
    const double cpuPartial = CpuSeconds();
    kr820::link::WaitForInput(comm1, clock, kr820::core::kReadSetup.replyBytes,
                              kr820::link::InputTarget::EqualTo, replyWait);
    const double partialShare = (CpuSeconds() - cpuPartial) / (wall.elapsed() / 1000.0);
    std::printf("%.1f-second reply wait, 6 of 86 bytes arrive: CPU %.3f %% of one core\n",
                replyWait.count() / 1000.0, partialShare * 100.0);
    return 0;
}
