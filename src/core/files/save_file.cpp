// SPDX-License-Identifier: MIT
#include "core/files/save_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QSaveFile>
#include <cerrno>

namespace kr820::core {
namespace {

// Why the last write into `file` failed, as far as the file knows it.
QString FileFailureReason(const QFileDevice& file) {
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

// What is at `path`: nothing, a regular file, a FIFO or character device that is written as a
// stream, or anything else, which no save may replace.
enum class Target { Missing, RegularFile, Stream, Other };

Target TargetAt(const QString& path) {
    struct stat status {};
    if (::stat(QFile::encodeName(path).constData(), &status) != 0) return Target::Missing;
    if (S_ISREG(status.st_mode)) return Target::RegularFile;
    if (S_ISFIFO(status.st_mode) || S_ISCHR(status.st_mode)) return Target::Stream;
    return Target::Other;
}

const QString kNotAFile = QStringLiteral("it is neither a regular file nor a pipe or device");

// A pipe or a device takes the bytes as they come: there is nothing to replace, and replacing
// the node would cut its reader off (or swap /dev/null for a file).
WriteOutcome WriteToStream(const QString& path, const std::function<bool(QIODevice&)>& fill) {
    QFile stream(path);
    if (!stream.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        return {WriteStatus::CannotCreate, stream.errorString()};
    }
    if (!fill(stream)) return {WriteStatus::WriteFailed, FileFailureReason(stream)};
    return {};
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
    switch (TargetAt(path)) {
        case Target::Stream:
            return WriteToStream(path, fill);
        case Target::Other:
            return {WriteStatus::CannotCreate, kNotAFile};
        case Target::Missing:
        case Target::RegularFile:
            break;
    }
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

WriteOutcome CheckCanWrite(const QString& path) {
    switch (TargetAt(path)) {
        case Target::Stream: {
            // Opening a pipe waits for its reader: asking the system is enough here.
            if (::access(QFile::encodeName(path).constData(), W_OK) != 0)
                return {WriteStatus::CannotCreate, qt_error_string(errno)};
            return {};
        }
        case Target::Other:
            return {WriteStatus::CannotCreate, kNotAFile};
        case Target::Missing: {
            // The save's temporary file has no name until it is committed: make the file itself
            // and take it away again, so that a name too long shows now.
            const QByteArray name = QFile::encodeName(path);
            const int made =
                ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
            if (made < 0) return {WriteStatus::CannotCreate, qt_error_string(errno)};
            ::close(made);
            ::unlink(name.constData());
            break;
        }
        case Target::RegularFile:
            break;
    }
    // The same temporary file the save makes, made and thrown away: a folder without write
    // permission or a read-only file system show now.
    QSaveFile probe(path);
    if (!probe.open(QIODevice::WriteOnly)) return {WriteStatus::CannotCreate, probe.errorString()};
    probe.cancelWriting();
    return {};
}

}  // namespace kr820::core
