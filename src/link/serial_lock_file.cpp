// SPDX-License-Identifier: MIT
#include "link/serial_lock_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>
#include <cerrno>

namespace kr820::link {

QString DeviceItself(const QString& devicePath) {
    const QString real = QFileInfo(devicePath).canonicalFilePath();
    return real.isEmpty() ? devicePath : real;
}

QString SerialLockName(const QString& devicePath) {
    const QString device = DeviceItself(devicePath);
    QString name = device.startsWith(QStringLiteral("/dev/")) ? device.mid(5) : device;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QStringLiteral("LCK..") + name;
}

QString SerialLockFilePath(const QString& devicePath) {
    // The folders the serial library looks in, in its order.
    static const QStringList folders = {
        QStringLiteral("/var/lock"),
        QStringLiteral("/etc/locks"),
        QStringLiteral("/var/spool/locks"),
        QStringLiteral("/var/spool/uucp"),
        QStringLiteral("/tmp"),
        QStringLiteral("/var/tmp"),
        QStringLiteral("/var/lock/lockdev"),
        QStringLiteral("/run/lock"),
    };
    const QString name = u'/' + SerialLockName(devicePath);
    for (const QString& folder : folders) {
        const QFileInfo info(folder);
        const QString path = folder + name;
        if (info.isReadable() && (QFile::exists(path) || info.isWritable())) return path;
    }
    return {};
}

LockHolder HolderOfSerialLock(const QString& devicePath) {
    const QString path = SerialLockFilePath(devicePath);
    if (path.isEmpty() || !QFile::exists(path)) return LockHolder::None;
    QLockFile lock(path);
    qint64 pid = 0;
    QString hostName;
    QString application;
    if (!lock.getLockInfo(&pid, &hostName, &application)) return LockHolder::None;
    if (pid == QCoreApplication::applicationPid()) return LockHolder::ThisProcess;
    // Locked only while its holder runs: trying it tells a stale file from a held one.
    if (lock.tryLock(0)) return LockHolder::None;
    return LockHolder::OtherProcess;
}

bool RemoveOwnSerialLock(const QString& devicePath) {
    if (HolderOfSerialLock(devicePath) != LockHolder::ThisProcess) return false;
    QLockFile lock(SerialLockFilePath(devicePath));
    return lock.removeStaleLockFile();
}

bool DeviceHeldOpen(const QString& devicePath) {
    const QByteArray path = QFile::encodeName(DeviceItself(devicePath));
    const int handle = ::open(path.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (handle < 0) return errno == EBUSY;
    const bool locked = ::flock(handle, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(handle);  // closing also lets go of a lock it got
    return locked;
}

}  // namespace kr820::link
