// SPDX-License-Identifier: MIT
#include "core/settings/program_folder.h"

#include <QDir>
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

std::unique_ptr<QSettings> OpenProgramSettings() {
    if (!HomeOverride().isEmpty()) {
        return std::make_unique<QSettings>(QDir(ProgramFolder()).filePath("KR820.conf"),
                                           QSettings::IniFormat);
    }
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope, "KR820",
                                       "KR820");
}

}  // namespace kr820::core
