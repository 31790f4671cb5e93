// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

#include "core/files/file_outcome.h"

class QIODevice;

namespace kr820::core {

// Opens `path` through a QSaveFile, lets `fill` write into it and commits. A FIFO or a character
// device at `path` is written as a stream instead (nothing to replace); any other kind of node
// that is not a regular file is refused. `fill` returns false
// when its own writing failed; the target is then left untouched, as it is on any failure. The
// device `fill` gets is unbuffered, so each write reaches the system and is checked at once: use
// WriteAll, which also takes a write that the system accepts only in part.
WriteOutcome WriteThroughSaveFile(const QString& path, const std::function<bool(QIODevice&)>& fill);

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes);

// Whether a save to `path` could begin: its temporary file can be made (or the pipe or device
// written). Nothing is left behind. For a long operation that writes its result at the end.
WriteOutcome CheckCanWrite(const QString& path);

// Writes every byte of `bytes`, going on after a partial write; false as soon as the device
// takes nothing more, its error then telling why.
bool WriteAll(QIODevice& device, QByteArrayView bytes);

// The reason shown for a write that failed with the system's `error` (an errno value).
QString WriteFailureReason(int error);

}  // namespace kr820::core
