// SPDX-License-Identifier: MIT
// The logger download repeated 50 times on one link, as the program does it (quiesce, download
// port, blocks, back to the live port), with the emulator's download faults taking turns. Every
// download must either give the emulator's memory byte for byte or report its failure; the
// open file descriptors and resident memory are counted before and after.
// Usage: download_soak_figure [downloads, default 50]
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

#include "core/data/memory_image.h"
#include "fast_clock.h"
#include "link/com_port.h"
#include "link/logger_transfer.h"
#include "link/meter_link.h"
#include "logger_memory_builder.h"
#include "memory_blocks.h"
#include "meter_emulator.h"
#include "process_figures.h"
#include "quiet_views.h"

namespace {

using kr820::emulator::DownloadFaults;

// Four sets, 120 blocks: long enough for faults in the middle, short enough to repeat.
std::string Memory() {
    std::vector<kr820::emulator::DataSet> sets(4);
    for (std::size_t s = 0; s < sets.size(); ++s) {
        sets[s].start = {2024, 3, 14, 9, int(s), 0};
        for (int p = 0; p < 240; ++p)
            sets[s].pairs.push_back({std::int16_t(200 + p % 50), std::int16_t(-40 - p % 7)});
    }
    return kr820::emulator::BuildMemoryImage(sets);
}

// The fault of download `n`, and whether the download must fail under it.
std::pair<DownloadFaults, bool> FaultOf(int n) {
    DownloadFaults faults;
    const std::size_t block = std::size_t(7 + 13 * n) % 100;
    switch (n % 6) {
        case 0: break;
        case 1: faults.badChecksumBlock = block; break;
        case 2: faults.noisyBlock = block; break;
        case 3: faults.silentAfterBlock = block; return {faults, true};
        case 4:
            faults.badChecksumBlock = block;
            faults.badChecksumEveryTime = true;
            return {faults, true};
        case 5: faults.noHeaderReply = true; return {faults, true};
    }
    return {faults, false};
}

}  // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    const int downloads = argc > 1 ? std::atoi(argv[1]) : 50;
    kr820::emulator::MeterEmulator meter;
    std::string error;
    const std::string memory = Memory();
    if (!meter.Start(&error) || !meter.SetMemory(memory, &error)) {
        std::fprintf(stderr, "emulator: %s\n", error.c_str());
        return 1;
    }
    const QByteArray expected = QByteArray::fromStdString(kr820::emulator::DownloadedImage(memory));

    // The fixed waits (port settles, the closing silence) pass five times faster; the line does
    // not.
    kr820::testing::FastClock clock(5);
    kr820::core::AppState state;
    kr820::link::TComPort comm1, comm2;
    QTimer timer;
    kr820::bench::QuietLinkView view;
    kr820::bench::QuietTransferView progress;
    kr820::link::MeterLink link(state, comm1, timer, view, clock);
    const QString device = QString::fromStdString(meter.DevicePath());
    link.SetDevices({device});
    comm1.SetDeviceName(device);
    comm1.Open();

    const int fdsBefore = kr820::bench::OpenDescriptors();
    const long rssBefore = kr820::bench::ResidentKiB();
    int identical = 0, reportedFailures = 0, wrong = 0;
    QElapsedTimer wall;
    wall.start();
    for (int n = 0; n < downloads; ++n) {
        const auto [faults, mustFail] = FaultOf(n);
        meter.SetDownloadFaults(faults);
        kr820::link::LoggerTransfer transfer(link, comm2, progress);
        QByteArray image(kr820::core::kFirstRecordOffset, '\0');
        const kr820::core::DownloadCode code = transfer.TransferMemory(image);
        link.ReturnFromDownloadPort(comm2);
        timer.stop();
        const bool success = code == kr820::core::DownloadCode::Success;
        if (success && image == expected && !mustFail) {
            ++identical;
        } else if (!success) {
            ++reportedFailures;
            if (!mustFail) std::printf("  download %d failed (code %d) without a fault that forces it\n", n, int(code));
        } else {
            ++wrong;
            std::printf("  download %d reported success with %s bytes\n", n,
                        image == expected ? "the right" : "WRONG");
        }
    }
    const int fdsAfter = kr820::bench::OpenDescriptors();
    const long rssAfter = kr820::bench::ResidentKiB();
    std::printf("%d downloads in %.1f s: %d byte-identical, %d failures reported, %d wrong\n",
                downloads, wall.elapsed() / 1000.0, identical, reportedFailures, wrong);
    std::printf("open descriptors %d -> %d; RSS %ld KiB -> %ld KiB (%+ld KiB)\n", fdsBefore,
                fdsAfter, rssBefore, rssAfter, rssAfter - rssBefore);
    return wrong == 0 && fdsAfter == fdsBefore ? 0 : 1;
}
