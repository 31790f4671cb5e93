// SPDX-License-Identifier: MIT
#include "meter/recording_folder.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>
#include <filesystem>
#include <system_error>

namespace kr820::meter {

QString AbsoluteRecordingFolder(const QString& typed) {
    if (typed.trimmed().isEmpty()) return {};
    return QDir::cleanPath(QFileInfo(typed.trimmed()).absoluteFilePath());
}

QString RecordingFolderProblem(const QString& folder) {
    if (!QFileInfo(folder).isDir()) return kNotAFolderMessage.arg(folder);
    // Tried rather than judged from the permissions: a read-only file system, an ACL or a full
    // disk says no as well.
    QTemporaryFile probe(QDir(folder).filePath(QStringLiteral(".kr820-probe-XXXXXX")));
    if (!probe.open()) return kFolderNotWritableMessage.arg(folder, probe.errorString());
    return {};
}

bool MakeRecordingFolder(const QString& folder, QString* reason) {
    std::error_code error;
    std::filesystem::create_directories(
        std::filesystem::path(QFile::encodeName(folder).toStdString()), error);
    if (!error) return true;
    *reason = QString::fromLocal8Bit(error.message());
    return false;
}

}  // namespace kr820::meter
