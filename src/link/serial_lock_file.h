// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::link {

// The device a path names, symbolic links followed (/dev/serial/by-id/... -> /dev/ttyUSB0); the
// path as given when it names nothing. Locks and "is it open here" go by this path, so that two
// names of one device are one device.
QString DeviceItself(const QString& devicePath);

// The UUCP lock file's name of a device: "LCK.." and the device's own path under /dev, a '/'
// in it written as '_' (a file name holds no '/'): LCK..ttyUSB0 for /dev/ttyUSB0 and for any link
// to it, LCK..pts_3 for the pseudo-terminal /dev/pts/3. Keeping the folder rather than the last
// word tells /dev/pts/3 from a /dev/3, and it is the name the serial library gives the lock it
// takes when it opens that path, so its lock and ours are one file. A device outside /dev keeps
// its whole path: LCK.._srv_ttyX.
QString SerialLockName(const QString& devicePath);

// The lock file of a device in the first usable lock folder, as the serial library picks it.
QString SerialLockFilePath(const QString& devicePath);

enum class LockHolder {
    None,          // no lock file, or one of a process that is gone
    ThisProcess,   // the file names this process: one of its ports holds the device, or an earlier
                   // run that had the same process id left it behind
    OtherProcess,  // another running program
};

LockHolder HolderOfSerialLock(const QString& devicePath);

// Removes a lock file that names this process; for one an earlier run left behind.
bool RemoveOwnSerialLock(const QString& devicePath);

// Whether another open of the device holds it so that no second one may talk to it: an open
// refused as busy (an exclusive open), or a lock on the open file (flock) that another holds.
// Opens the device for a moment to find out; false when it cannot be opened at all.
bool DeviceHeldOpen(const QString& devicePath);

}  // namespace kr820::link
