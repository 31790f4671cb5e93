// SPDX-License-Identifier: MIT
#include "core/files/save_file.h"

#include <unistd.h>

#include <QSaveFile>
#include <cerrno>

namespace kr820::core {
namespace {

// Why the last write into `file` failed, as far as the file knows it.
QString FileFailureReason(const QSaveFile& file) {
    if (file.error() == QFileDevice::ResourceError) return WriteFailureReason(ENOSPC);
    if (file.error() == QFileDevice::NoError) {
        return QStringLiteral("not every byte reached the disk");
    }
    return file.errorString();
}

WriteOutcome Cancelled(QSaveFile& file, QString reason) {
    file.cancelWriting();
    return {WriteStatus::WriteFailed, std::move(reason)};
}

}  // namespace

QString WriteFailureReason(int error) {
    if (error == ENOSPC || error == EDQUOT) return QStringLiteral("the disk is full");
    return qt_error_string(error);
}

bool WriteAll(QIODevice& device, QByteArrayView bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const qint64 written = device.write(bytes.data() + done, bytes.size() - done);
        if (written <= 0) return false;
        done += static_cast<qsizetype>(written);
    }
    return true;
}

WriteOutcome WriteThroughSaveFile(const QString& path,
                                  const std::function<bool(QIODevice&)>& fill) {
    QSaveFile file(path);
    // Unbuffered: through Qt's own buffer a final write that the system takes only in part
    // still lets commit() succeed, and the file is replaced by its first part.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return {WriteStatus::CannotCreate, file.errorString()};
    }
    if (!fill(file)) return Cancelled(file, FileFailureReason(file));
    // A file system that allocates late reports a full disk only when the data goes down.
    const int syncError = ::fsync(file.handle()) == 0 ? 0 : errno;
    if (syncError != 0 && syncError != EINVAL) return Cancelled(file, WriteFailureReason(syncError));
    if (!file.commit()) return {WriteStatus::WriteFailed, FileFailureReason(file)};
    return {};
}

WriteOutcome WriteFileAtomically(const QString& path, QByteArrayView bytes) {
    return WriteThroughSaveFile(path,
                                [bytes](QIODevice& device) { return WriteAll(device, bytes); });
}

}  // namespace kr820::core
