// SPDX-License-Identifier: MIT
#include "cli/output_target.h"

#include <sys/stat.h>

#include <QFile>
#include <QFileInfo>

#include "cli/cli_io.h"

namespace kr820::cli {

OutputKind OutputKindOf(const QString& path) {
    // /dev/stdout opened anew would truncate a file the shell redirected to, or be replaced by
    // a save: it means the standard output the program already has.
    if (path.isEmpty() || path == kStdoutName || path == QStringLiteral("/dev/stdout"))
        return OutputKind::Stdout;
    struct stat node {};
    if (::stat(QFile::encodeName(path).constData(), &node) == 0 &&
        (S_ISFIFO(node.st_mode) || S_ISCHR(node.st_mode)))
        return OutputKind::Stream;
    return OutputKind::File;
}

std::optional<QString> ReplaceRefusal(const QString& path, bool force) {
    if (force || OutputKindOf(path) != OutputKind::File || !QFileInfo(path).isFile())
        return std::nullopt;
    return QStringLiteral("'%1' exists; --force replaces it").arg(path);
}

}  // namespace kr820::cli
