// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::link {

// The lock file the serial library makes for a device ("LCK.." and the device's name in the
// first usable lock folder), and who holds it.
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

}  // namespace kr820::link
