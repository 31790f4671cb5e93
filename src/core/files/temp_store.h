// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>

#include "core/files/file_outcome.h"

namespace kr820::core {

// "temp" under the program folder, and the store of the last decoded memory image inside it.
QString TempStoreFolder(const QString& programFolder);
QString TempStorePath(const QString& programFolder);

// Writes a memory image, as the meter delivered it, to the temporary store, making "temp" when
// it is missing. FolderNotCreated (Reason = the folder's path) ends the caller's operation; any
// other failure is silent and leaves the store's earlier content whole.
WriteOutcome WriteTempStore(QByteArrayView image, const QString& programFolder);
// The same in ProgramFolder().
WriteOutcome WriteTempStore(QByteArrayView image);

}  // namespace kr820::core
