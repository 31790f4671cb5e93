// SPDX-License-Identifier: MIT
#include "core/files/temp_store.h"

#include <QDir>

#include "core/files/save_file.h"
#include "core/settings/program_folder.h"

namespace kr820::core {

QString TempStoreFolder(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("temp"));
}

QString TempStorePath(const QString& programFolder) {
    return QDir(TempStoreFolder(programFolder)).filePath(QStringLiteral("DataSetsTemp.tmp"));
}

WriteOutcome WriteTempStore(QByteArrayView image, const QString& programFolder) {
    const QString folder = TempStoreFolder(programFolder);
    if (!QDir().mkpath(folder)) {
        return {WriteStatus::FolderNotCreated, QDir::toNativeSeparators(folder)};
    }
    return WriteFileAtomically(TempStorePath(programFolder), image);
}

WriteOutcome WriteTempStore(QByteArrayView image) { return WriteTempStore(image, ProgramFolder()); }

}  // namespace kr820::core
