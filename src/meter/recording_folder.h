// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::meter {

// The folder recordings until stopped go into, as typed: absolute, against the folder the
// program runs in, so that what is kept of it names it from anywhere.
QString AbsoluteRecordingFolder(const QString& typed);

// Why a store cannot be made in the existing folder `folder` (not a folder, cannot be written,
// with the system's reason); empty when it can.
QString RecordingFolderProblem(const QString& folder);
// Makes `folder` with the folders above it. False, with the system's reason, when it cannot.
bool MakeRecordingFolder(const QString& folder, QString* reason);

// %1 the folder.
inline const QString kCreateFolderQuestion =
    QStringLiteral("The folder \"%1\" does not exist. Create it?");
// %1 the folder, %2 why.
inline const QString kFolderNotMadeMessage =
    QStringLiteral("The folder \"%1\" cannot be made (%2).");
inline const QString kFolderNotWritableMessage =
    QStringLiteral("Recordings cannot be kept in \"%1\": the folder cannot be written (%2).");
inline const QString kNotAFolderMessage =
    QStringLiteral("Recordings cannot be kept in \"%1\": it is not a folder.");

}  // namespace kr820::meter
