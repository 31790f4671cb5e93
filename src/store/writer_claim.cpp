// SPDX-License-Identifier: MIT
#include "store/writer_claim.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <utility>

namespace kr820::store {

QString WriteFailure(const QString& path, const QString& detail) {
    return QStringLiteral("The recording could not be written to %1: %2")
        .arg(QDir::toNativeSeparators(path), detail);
}

WriterClaim::WriterClaim(WriterClaim&& other) noexcept : m_fd(std::exchange(other.m_fd, -1)) {}

WriterClaim& WriterClaim::operator=(WriterClaim&& other) noexcept {
    if (this != &other) {
        Release();
        m_fd = std::exchange(other.m_fd, -1);
    }
    return *this;
}

WriterClaim::~WriterClaim() { Release(); }

void WriterClaim::Release() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

bool WriterClaim::Take(const QString& path, QString* error) {
    Release();
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (error) *error = WriteFailure(path, QString::fromLocal8Bit(strerror(errno)));
        return false;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        if (error) {
            *error = QStringLiteral("%1 is being recorded by another program.")
                         .arg(QDir::toNativeSeparators(path));
        }
        return false;
    }
    m_fd = fd;
    return true;
}

bool WriterClaim::Held(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool held = ::flock(fd, LOCK_SH | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);  // lets a shared claim go at once, so that no writer is kept out
    return held;
}

}  // namespace kr820::store
