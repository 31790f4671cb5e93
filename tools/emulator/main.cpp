// SPDX-License-Identifier: MIT
// kr820-emulator: a KR820 meter on a pseudo-terminal, for demonstrations and manual tests.
#include <signal.h>

#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include "emulator_options.h"
#include "meter_emulator.h"

namespace {

namespace emu = kr820::emulator;

// Blocked before the service thread starts, so that only sigwait() below ever sees them and the
// program can clean up its symlink on the way out.
sigset_t TerminationSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string programName = argc > 0 ? argv[0] : "kr820-emulator";
    emu::EmulatorOptions options;
    std::string error;
    if (!emu::ParseEmulatorOptions(std::vector<std::string>(argv + 1, argv + argc), &options,
                                   &error)) {
        std::cerr << programName << ": " << error << "\n"
                  << "Try '" << programName << " --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << emu::UsageText(programName);
        return 0;
    }

    const sigset_t signals = TerminationSignals();
    if (pthread_sigmask(SIG_BLOCK, &signals, nullptr) != 0) {
        std::cerr << programName << ": cannot block signals\n";
        return 1;
    }

    emu::MeterEmulator emulator;
    emulator.SetState(options.state);
    emulator.SetSilent(options.silent);
    if (!emulator.Start(&error)) {
        std::cerr << programName << ": " << error << "\n";
        return 1;
    }
    if (!options.linkPath.empty() && !emulator.MakeSymlink(options.linkPath, &error)) {
        std::cerr << programName << ": " << error << "\n";
        return 1;
    }
    // Scripts read the first line to learn where the meter is.
    std::cout << emulator.DevicePath() << std::endl;

    int received = 0;
    sigwait(&signals, &received);
    emulator.Stop();  // removes the symlink
    return 0;
}
