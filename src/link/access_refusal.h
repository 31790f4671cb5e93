// SPDX-License-Identifier: MIT
#pragma once

#include <QMap>
#include <QString>
#include <cerrno>

namespace kr820::link {

// Why the system would not let the program open a device, as far as the user can do something
// about it.
enum class AccessRefusal {
    None,              // opened, or failed for another reason (missing device, line settings)
    PermissionDenied,  // the user may not open it (EACCES, EPERM)
    InUse,             // another program holds it (EBUSY, a lock file, an exclusive open)
    OpenHere,          // another port of this program holds it (kOpenInThisProgram)
};

// The error code of an open refused because a port of this program has the device open.
inline constexpr int kOpenInThisProgram = EALREADY;

// From the system's error code of a failed open, as the port objects report it.
AccessRefusal AccessRefusalOf(int systemErrorCode);

// The error code for a device the serial library refused with its permission error, which on
// this system stands for several causes: EACCES or EPERM when the user may not read and write the
// device, EBUSY when another program holds its lock file (under whatever name it was opened) or
// holds it open exclusively or with a lock on the open file, kOpenInThisProgram when this program
// holds its lock file, ENAMETOOLONG when the device's name makes no lock file name; EACCES when
// no lock file can be made at all.
int PermissionErrorCode(const QString& devicePath);

// What the user is told, naming the device; empty for None. The program's message and status
// tip and the command-line program's error output use these same words.
QString AccessRefusalText(AccessRefusal refusal, const QString& device);

// Why a device did not open, naming it, for every cause: the refusals above, a device that is not
// there or is no serial device, and the system's own words for the rest.
QString OpenFailureText(const QString& device, int systemErrorCode);

// Which devices refused the program, told once per device and cause: a refusal is told again
// only when its cause changes or the device was opened in between.
class AccessNotices {
public:
    // An open of `device` failed with `systemErrorCode`: the text to tell now, or empty when it
    // was told already or the failure is no refusal.
    QString Refused(const QString& device, int systemErrorCode);
    // The device opened: a later refusal is news again.
    void Opened(const QString& device);
    // Every refusal that stands, one line each, in the order of the devices' names.
    QString Standing() const;

private:
    QMap<QString, AccessRefusal> m_told;
};

}  // namespace kr820::link
