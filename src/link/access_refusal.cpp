// SPDX-License-Identifier: MIT
#include "link/access_refusal.h"

#include <unistd.h>

#include <QFile>
#include <QStringList>
#include <cerrno>
#include <climits>

#include "link/serial_lock_file.h"

namespace kr820::link {

AccessRefusal AccessRefusalOf(int systemErrorCode) {
    switch (systemErrorCode) {
        case EACCES:
        case EPERM:
            return AccessRefusal::PermissionDenied;
        case EBUSY:
        case EWOULDBLOCK:  // a lock on the open file
            return AccessRefusal::InUse;
        case kOpenInThisProgram:
            return AccessRefusal::OpenHere;
        default:
            return AccessRefusal::None;
    }
}

int PermissionErrorCode(const QString& devicePath) {
    const QByteArray path = QFile::encodeName(devicePath);
    if (::access(path.constData(), R_OK | W_OK) != 0 && (errno == EACCES || errno == EPERM))
        return errno;
    switch (HolderOfSerialLock(devicePath)) {
        case LockHolder::OtherProcess:
            return EBUSY;
        case LockHolder::ThisProcess:
            return kOpenInThisProgram;
        case LockHolder::None:
            break;
    }
    // Held without a lock file (an exclusive open, a lock on the open file): busy, not a
    // permission the user lacks.
    if (DeviceHeldOpen(devicePath)) return EBUSY;
    if (QFile::encodeName(SerialLockName(devicePath)).size() > NAME_MAX) return ENAMETOOLONG;
    return EACCES;
}

QString AccessRefusalText(AccessRefusal refusal, const QString& device) {
    switch (refusal) {
        case AccessRefusal::PermissionDenied:
            return QStringLiteral(
                       "Permission denied on %1: add your user to the 'dialout' group (sudo "
                       "adduser $USER dialout), then log in again.")
                .arg(device);
        case AccessRefusal::InUse:
            return QStringLiteral("%1 is in use by another program.").arg(device);
        case AccessRefusal::OpenHere:
            return QStringLiteral("%1 is already open in this program.").arg(device);
        case AccessRefusal::None:
            break;
    }
    return {};
}

QString OpenFailureText(const QString& device, int systemErrorCode) {
    if (const AccessRefusal refusal = AccessRefusalOf(systemErrorCode);
        refusal != AccessRefusal::None)
        return AccessRefusalText(refusal, device);
    switch (systemErrorCode) {
        case ENOENT:
        case ENODEV:
        case ENXIO:
            return QStringLiteral("%1 does not exist.").arg(device);
        case ENOTTY:
        case EISDIR:
        case EINVAL:
            return QStringLiteral("%1 is not a serial device.").arg(device);
        default:
            return QStringLiteral("%1 cannot be opened: %2.")
                .arg(device, systemErrorCode != 0 ? qt_error_string(systemErrorCode)
                                                  : QStringLiteral("unknown error"));
    }
}

QString AccessNotices::Refused(const QString& device, int systemErrorCode) {
    const AccessRefusal refusal = AccessRefusalOf(systemErrorCode);
    if (refusal == AccessRefusal::None) {
        m_told.remove(device);  // another cause: a refusal after it is news again
        return {};
    }
    const auto told = m_told.constFind(device);
    if (told != m_told.cend() && *told == refusal) return {};
    m_told.insert(device, refusal);
    return AccessRefusalText(refusal, device);
}

void AccessNotices::Opened(const QString& device) { m_told.remove(device); }

QString AccessNotices::Standing() const {
    QStringList lines;
    for (auto told = m_told.cbegin(); told != m_told.cend(); ++told)
        lines << AccessRefusalText(told.value(), told.key());
    return lines.join(QLatin1Char('\n'));
}

}  // namespace kr820::link
