// SPDX-License-Identifier: MIT
// kr820-emulator: a KR820 meter on a pseudo-terminal, for demonstrations and manual tests.
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <iostream>
#include <string>
#include <vector>

#include "console_commands.h"
#include "emulator_options.h"
#include "logger_memory_builder.h"
#include "memory_files.h"
#include "meter_emulator.h"
#include "usage_text.h"

namespace {

namespace emu = kr820::emulator;

// Often enough that a signal or a command is acted on without a noticeable delay.
constexpr int kWakeEveryMs = 100;

// Blocked before the service thread starts, so that no thread is killed by them; the main loop
// finds them pending and cleans up its symlink on the way out.
sigset_t TerminationSignals() {
    sigset_t signals;
    sigemptyset(&signals);
    sigaddset(&signals, SIGINT);
    sigaddset(&signals, SIGTERM);
    return signals;
}

bool TerminationPending() {
    sigset_t pending;
    if (sigpending(&pending) != 0) return false;
    return sigismember(&pending, SIGINT) == 1 || sigismember(&pending, SIGTERM) == 1;
}

bool Configure(const emu::EmulatorOptions& options, emu::MeterEmulator* emulator,
               std::string* error) {
    emulator->SetState(options.state);
    emulator->SetMotion(options.motion);
    emulator->SetSilent(options.silent);
    emulator->SetNoise(options.faults.noise);
    emulator->SetSplitGap(options.faults.splitGap);
    emulator->SetDoubleFrames(options.faults.doubleFrames);
    emulator->SetWrongLastByte(options.faults.wrongLastByteFrames);
    if (options.modelReply) emulator->SetModelReply(*options.modelReply);
    emulator->SetDownloadFaults(options.downloadFaults);
    emulator->SetSetupFaults(options.setupFaults);
    if (options.paced) emulator->SetByteTime(emu::kByteTimeAt19200);
    if (!options.memoryFile.empty())
        return emu::LoadMemoryFile(options.memoryFile, emulator, error);
    if (options.memorySets)
        return emulator->SetMemory(emu::BuildMemoryImage(*options.memorySets), error);
    return true;
}

// Reads standard input without blocking the loop; false once it has ended. A background job
// reading its terminal would be stopped by SIGTTIN: that is ignored, the read fails with EIO and
// the input counts as ended.
bool ReadInput(std::string* pending) {
    char buffer[512];
    const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
    if (count > 0) {
        pending->append(buffer, static_cast<std::size_t>(count));
        return true;
    }
    return count < 0 && (errno == EINTR || errno == EAGAIN);
}

// Carries out every whole line in *pending; false when one of them was "quit".
bool ExecuteLines(std::string* pending, emu::MeterEmulator* emulator) {
    for (std::size_t end; (end = pending->find('\n')) != std::string::npos;) {
        const std::string line = pending->substr(0, end);
        pending->erase(0, end + 1);
        const emu::ConsoleReply reply = emu::ExecuteConsoleLine(line, emulator);
        if (!reply.text.empty()) std::cout << reply.text << std::endl;
        if (reply.quit) return false;
    }
    return true;
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
    // A script that read the first line and went away must not kill the meter with its pipe.
    signal(SIGPIPE, SIG_IGN);
    signal(SIGTTIN, SIG_IGN);

    emu::MeterEmulator emulator;
    if (!Configure(options, &emulator, &error)) {
        std::cerr << programName << ": " << error << "\n";
        return 1;
    }
    if (!options.saveMemoryPath.empty()) {
        if (emu::SaveMemoryFile(options.saveMemoryPath, emulator.Memory(), &error)) return 0;
        std::cerr << programName << ": " << error << "\n";
        return 1;
    }
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

    bool inputOpen = true;
    std::string pending;
    while (!TerminationPending()) {
        pollfd input{STDIN_FILENO, POLLIN, 0};
        const int ready = poll(&input, inputOpen ? 1 : 0, kWakeEveryMs);
        if (ready <= 0 || input.revents == 0) continue;
        inputOpen = ReadInput(&pending);
        // A last line without its newline still counts.
        if (!inputOpen && !pending.empty()) pending += '\n';
        if (!ExecuteLines(&pending, &emulator)) break;
    }
    emulator.Stop();  // removes the symlink
    return 0;
}
