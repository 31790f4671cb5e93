// SPDX-License-Identifier: MIT
#include "link/serial_lock_file.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QStringList>

namespace kr820::link {

QString SerialLockFilePath(const QString& devicePath) {
    // The folders and the naming the serial library uses, in its order.
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
    QString name = devicePath.startsWith(QStringLiteral("/dev/")) ? devicePath.mid(5) : devicePath;
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.prepend(QStringLiteral("/LCK.."));
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

}  // namespace kr820::link
