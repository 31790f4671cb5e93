// SPDX-License-Identifier: MIT
#include "cli/append_output.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <QFile>
#include <cerrno>

#include "core/files/save_file.h"

namespace kr820::cli {

AppendTarget OpenForAppending(const QString& path) {
    AppendTarget target;
    const int fd = ::open(QFile::encodeName(path).constData(),
                          O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0) {
        target.problem = core::WriteFailureReason(errno);
        return target;
    }
    struct stat file {};
    target.holdsLines = ::fstat(fd, &file) == 0 && S_ISREG(file.st_mode) && file.st_size > 0;
    target.device = std::make_unique<FdOutput>(fd);
    target.device->open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    return target;
}

ExitCode WithAppendedOutput(const QString& path, CliIo& io,
                            const std::function<ExitCode(CliIo&)>& body) {
    if (path.isEmpty() || path == kStdoutName) return body(io);
    AppendTarget target = OpenForAppending(path);
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

}  // namespace kr820::cli
