// SPDX-License-Identifier: MIT
#include "core/files/save_file.h"

#include <QSaveFile>

namespace kr820::core {

WriteOutcome WriteThroughSaveFile(const QString& path,
                                  const std::function<bool(QIODevice&)>& fill) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {WriteStatus::CannotCreate, file.errorString()};
    if (!fill(file)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return {WriteStatus::WriteFailed, reason};
    }
    // The buffered tail is written here, so a full disk often shows only now.
    if (!file.commit()) return {WriteStatus::WriteFailed, file.errorString()};
    return {};
}

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes) {
    return WriteThroughSaveFile(path, [bytes](QIODevice& device) {
        return device.write(bytes.data(), bytes.size()) == bytes.size();
    });
}

}  // namespace kr820::core
