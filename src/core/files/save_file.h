// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QString>
#include <functional>

#include "core/files/file_outcome.h"

class QIODevice;

namespace kr820::core {

// Opens `path` through a QSaveFile, lets `fill` write into it and commits. `fill` returns false
// when its own writing failed; the target is then left untouched, as it is on any failure.
WriteOutcome WriteThroughSaveFile(const QString& path, const std::function<bool(QIODevice&)>& fill);

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes);

}  // namespace kr820::core
