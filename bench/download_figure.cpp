// SPDX-License-Identifier: MIT
// The logger download against the emulator: the program's own CPU time per block on an unpaced
// line (a full 132,000-byte memory), and, with the emulator pacing its bytes at 19200 baud, the
// total time against the line's limit and the CPU share during the transfer.
// Usage: download_figure [paced memory bytes, default 16000; 0 skips the paced run]
#include <time.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "core/protocol/exchange_limits.h"
#include "link/com_port.h"
#include "link/logger_transfer.h"
#include "link/meter_link.h"
#include "logger_memory_builder.h"
#include "meter_emulator.h"
#include "quiet_views.h"

namespace {

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec + now.tv_nsec / 1e9;
}

// Sets of as many pairs as fit, until the memory holds about `bytes`.
std::string MemoryOf(std::size_t bytes) {
    std::vector<kr820::emulator::DataSet> sets;
    std::size_t left = bytes;
    while (left > 18 + 4) {
        kr820::emulator::DataSet set;
        const std::size_t pairs = std::min<std::size_t>((left - 18) / 4, 65535);
        for (std::size_t p = 0; p < pairs; ++p)
            set.pairs.push_back({static_cast<std::int16_t>(200 + p % 50), 300});
        left -= 18 + 4 * pairs;
        sets.push_back(std::move(set));
    }
    return kr820::emulator::BuildMemoryImage(sets);
}

struct Run {
    double wallSeconds;
    double cpuSeconds;
    int blocks;
    kr820::core::DownloadCode code;
};

Run Download(kr820::emulator::MeterEmulator& meter) {
    kr820::core::AppState state;
    kr820::link::TComPort comm1, comm2;
    QTimer timer;
    kr820::bench::QuietLinkView view;
    kr820::bench::QuietTransferView progress;
    kr820::link::MeterLink link(state, comm1, timer, view, kr820::link::SteadyClock::Shared());
    link.SetDevices({QString::fromStdString(meter.DevicePath())});
    kr820::link::LoggerTransfer transfer(link, comm2, progress);
    QByteArray image(256, '\0');
    QElapsedTimer wall;
    wall.start();
    const double cpu = ThreadCpuSeconds();
    const kr820::core::DownloadCode code = transfer.TransferMemory(image);
    return {wall.nsecsElapsed() / 1e9, ThreadCpuSeconds() - cpu,
            transfer.Counters().receivedBytes / kr820::core::kBlockPayloadBytes, code};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const std::size_t pacedBytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 16000;
    kr820::emulator::MeterEmulator meter;
    std::string error;
    if (!meter.Start(&error) || !meter.SetMemory(MemoryOf(132000), &error)) {
        std::fprintf(stderr, "emulator: %s\n", error.c_str());
        return 1;
    }
    const Run full = Download(meter);
    std::printf(
        "unpaced full memory: code %d, %d blocks in %.2f s; program CPU %.3f s, %.3f ms "
        "a block (the closing 3 s of silence included in the wall time)\n",
        static_cast<int>(full.code), full.blocks, full.wallSeconds, full.cpuSeconds,
        full.cpuSeconds * 1000.0 / std::max(1, full.blocks));

    if (pacedBytes == 0) return 0;
    meter.SetMemory(MemoryOf(pacedBytes));
    meter.SetByteTime(kr820::emulator::kByteTimeAt19200);
    const Run paced = Download(meter);
    // The emulator paces what the meter sends (the blocks and the header); the acknowledgements
    // reach it at once. Then the fixed waits: the port switch, the settle after the header and
    // the closing silence.
    using kr820::core::kExchangeLimits;
    const double line =
        (paced.blocks * kr820::core::kBlockBytes + kr820::core::kHeaderReplyBytes) * 10.0 / 19200.0;
    const double fixed =
        std::chrono::duration<double>(kExchangeLimits.reopenSettle + kExchangeLimits.headerSettle +
                                      kExchangeLimits.blockSilence)
            .count();
    std::printf(
        "paced at 19200 baud: %d blocks in %.2f s against a line limit of %.2f s "
        "(+%.1f s of fixed waits): %.1f %% over; CPU %.1f %% of one core\n",
        paced.blocks, paced.wallSeconds, line, fixed,
        100.0 * (paced.wallSeconds - (line + fixed)) / (line + fixed),
        100.0 * paced.cpuSeconds / paced.wallSeconds);
    return 0;
}
