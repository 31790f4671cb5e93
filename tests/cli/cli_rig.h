// SPDX-License-Identifier: MIT
#pragma once

#include <QBuffer>
#include <QStringList>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "cli/run_cli.h"
#include "cli/stop_signals.h"
#include "fast_clock.h"
#include "link/com_port.h"
#include "running_emulator.h"

namespace kr820::testing {

// kr820-cli's commands run in the test's process against an emulated meter, on real serial
// ports and a clock ten times faster, so that the meter's limits cost a tenth of their time.
class CliRig {
public:
    static constexpr int kSpeedUp = 10;

    CliRig() : meter(StartEmulator()) {
        out.open(QIODevice::ReadWrite);
        err.open(QIODevice::ReadWrite);
    }

    // Runs the command line with "--device" of the emulator appended where `withDevice`.
    cli::ExitCode Run(QStringList arguments, bool withDevice = true) {
        if (withDevice) arguments << QStringLiteral("--device") << PathOf(*meter);
        link::TComPort comm1;
        link::TComPort comm2;
        cli::MeterAccess access{comm1, comm2, clock,
                                core::kExchangeLimits.tick / kSpeedUp};
        cli::CliIo io{out, err, false};
        cli::CliEnvironment environment{
            io, access, [] { return std::make_unique<link::TComPort>(); }, stop};
        return cli::RunCli(arguments, environment);
    }

    QString Out() const { return QString::fromUtf8(out.data()); }
    QString Err() const { return QString::fromUtf8(err.data()); }
    QStringList OutLines() const { return Out().split(QStringLiteral("\n"), Qt::SkipEmptyParts); }

    std::unique_ptr<emulator::MeterEmulator> meter;
    FastClock clock{kSpeedUp};
    cli::StopSignals stop;
    QBuffer out;
    QBuffer err;
};

// The meter reading `tenths` of a degree on T1, T2 at 20.0 °C.
inline emulator::MeterState WithT1(std::int16_t tenths) {
    emulator::MeterState state;
    state.t1.tenthsC = tenths;
    state.t2.tenthsC = 200;
    return state;
}

// The live polls the meter has answered so far: a reading each.
inline int Polls(const emulator::MeterEmulator& meter) {
    const std::vector<std::string> bodies = meter.ReceivedBodies();
    return static_cast<int>(std::count(bodies.begin(), bodies.end(), std::string("A")));
}

}  // namespace kr820::testing
