// SPDX-License-Identifier: MIT
#include "core/settings/program_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>

namespace kr820::core {
namespace {

QString HomeOverride() { return qEnvironmentVariable("KR820_HOME"); }

}  // namespace

QString ProgramFolder() {
    QString folder = HomeOverride();
    if (folder.isEmpty())
        folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(folder);
    return QDir(folder).absolutePath();
}

QString DefaultRecordingFolder() {
    if (!HomeOverride().isEmpty())
        return QDir(ProgramFolder()).filePath(QStringLiteral("recordings"));
    return QDir::home().filePath(QStringLiteral("KR820 recordings"));
}

namespace {
const QString kLastFolderKey = QStringLiteral("Files/LastFolder");
}  // namespace

QString FileDialogFolder() {
    const QString last = OpenProgramSettings()->value(kLastFolderKey).toString();
    if (!last.isEmpty() && QDir(last).exists()) return last;
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (!documents.isEmpty() && QDir(documents).exists()) return documents;
    return QDir::homePath();
}

void RememberFileDialogFolder(const QString& chosenPath) {
    if (chosenPath.isEmpty()) return;
    OpenProgramSettings()->setValue(kLastFolderKey, QFileInfo(chosenPath).absolutePath());
}

std::unique_ptr<QSettings> OpenProgramSettings() {
    if (!HomeOverride().isEmpty()) {
        return std::make_unique<QSettings>(QDir(ProgramFolder()).filePath("KR820.conf"),
                                           QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "KR820",
                                       "KR820");
}

}  // namespace kr820::core
