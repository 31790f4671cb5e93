// SPDX-License-Identifier: MIT
#include "cli/append_output.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <cerrno>
#include <thread>

#include "cli/output_target.h"
#include "cli/stop_signals.h"
#include "cli/stoppable_clock.h"
#include "core/files/save_file.h"

namespace kr820::cli {
namespace {

// How often a FIFO without a reader is tried again: well within the second a stop may take.
constexpr std::chrono::milliseconds kReaderLook{50};

}  // namespace

AppendTarget OpenForAppending(const QString& path, const Stopping& stopping,
                              const std::function<void()>& waiting) {
    AppendTarget target;
    const QByteArray name = QFile::encodeName(path);
    int fd = -1;
    bool told = false;
    // Without O_NONBLOCK, open() of a FIFO sleeps until a reader comes, and the signal handler's
    // restart puts it back to sleep: a FIFO without a reader fails with ENXIO instead.
    while ((fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC | O_NONBLOCK,
                        0666)) < 0 &&
           errno == ENXIO) {
        if (IsStopping(stopping)) {
            target.stopped = true;
            return target;
        }
        if (!told && waiting) waiting();
        told = true;
        std::this_thread::sleep_for(kReaderLook);
    }
    if (fd < 0) {
        target.problem = core::WriteFailureReason(errno);
        return target;
    }
    // The rows are written whole: a full pipe waits for its reader, as ">>" would.
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    struct stat file {};
    target.holdsLines = ::fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_size > 0;
    target.device = std::make_unique<FdOutput>(fd);
    target.device->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return target;
}

ExitCode WithAppendedOutput(const QString& path, CliIo& io, const Stopping& stopping,
                            const std::function<ExitCode(CliIo&)>& body) {
    if (OutputKindOf(path) == OutputKind::Stdout) return body(io);
    AppendTarget target = OpenForAppending(path, stopping, [&] {
        Tell(io, QStringLiteral("waiting for a reader of '%1'").arg(path));
    });
    if (target.stopped) return StoppedExit();
    if (!target.device) {
        Say(io, QStringLiteral("cannot write '%1': %2").arg(path, target.problem));
        return ExitCode::Failed;
    }
    CliIo fileIo{*target.device, io.err, io.errIsTerminal, target.holdsLines};
    fileIo.in = io.in;
    fileIo.outName = QStringLiteral("'%1'").arg(path);
    fileIo.verbosity = io.verbosity;
    const ExitCode result = body(fileIo);
    if (!target.device->Finish() && !fileIo.outFailed) SayOutFailed(fileIo);
    return fileIo.outFailed && result == ExitCode::Success ? ExitCode::Failed : result;
}

ExitCode WriteWholeOutput(const QString& path, const QByteArray& bytes, CliIo& io,
                          const Stopping& stopping) {
    if (OutputKindOf(path) != OutputKind::File) {
        return WithAppendedOutput(path, io, stopping, [&](CliIo& streamIo) {
            return WriteOut(streamIo, bytes) ? ExitCode::Success : ExitCode::Failed;
        });
    }
    const core::WriteOutcome written = core::WriteFileAtomically(path, bytes);
    if (!written.Written()) {
        Say(io, QStringLiteral("cannot write '%1': %2").arg(path, written.Reason));
        return ExitCode::Failed;
    }
    return ExitCode::Success;
}

}  // namespace kr820::cli
