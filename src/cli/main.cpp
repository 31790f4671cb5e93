// SPDX-License-Identifier: MIT
// kr820-cli: the meter and the program's files from a shell, a script or a service. A core
// application, which runs without a display and loads no window system plugin; only "report"
// paints a PDF page, on the offscreen platform, which needs no display either.
#include <sys/stat.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QGuiApplication>
#include <csignal>
#include <cstring>
#include <memory>

#include "cli/fd_output.h"
#include "cli/run_cli.h"
#include "cli/stop_signals.h"
#include "link/clock.h"
#include "link/com_port.h"

namespace {

// Whether the first word that is no option is `command`.
bool NamesCommand(int argc, char** argv, const char* command) {
    for (int i = 1; i < argc; ++i) {
        if (argv[i][0] == '-') continue;
        return std::strcmp(argv[i], command) == 0;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    // A file beyond the size limit (ulimit -f) fails its write with its reason, as a full disk
    // does, instead of killing the program without a word.
    std::signal(SIGXFSZ, SIG_IGN);
    std::unique_ptr<QCoreApplication> application;
    if (NamesCommand(argc, argv, "report")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application = std::make_unique<QGuiApplication>(argc, argv);
    } else {
        application = std::make_unique<QCoreApplication>(argc, argv);
    }
    QCoreApplication::setApplicationName(QStringLiteral("kr820-cli"));

    // Unbuffered: every line reaches a pipe or a log at once, and nothing waits in a buffer when
    // a signal ends the program.
    kr820::cli::FdOutput out(STDOUT_FILENO);
    QFile err;
    out.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    err.open(STDERR_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    struct stat target {};
    const bool continuesFile =
        ::fstat(STDOUT_FILENO, &target) == 0 && S_ISREG(target.st_mode) && target.st_size > 0;
    kr820::cli::CliIo io{out, err, ::isatty(STDERR_FILENO) == 1, continuesFile};
    QFile in;  // "-" as an input file
    if (in.open(STDIN_FILENO, QIODevice::ReadOnly)) io.in = &in;

    kr820::link::TComPort comm1;
    kr820::link::TComPort comm2;
    kr820::cli::MeterAccess access{comm1, comm2, kr820::link::SteadyClock::Shared()};
    kr820::cli::StopSignals stop;
    stop.Install();
    kr820::cli::CliEnvironment environment{
        io, access, [] { return std::make_unique<kr820::link::TComPort>(); }, stop};
    kr820::cli::ExitCode result =
        kr820::cli::RunCli(QCoreApplication::arguments().mid(1), environment);
    if (!out.Finish() && !io.outFailed) {
        kr820::cli::SayOutFailed(io);
        result = kr820::cli::ExitCode::Failed;
    }
    return kr820::cli::ToInt(result);
}
