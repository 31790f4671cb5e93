// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>
#include <functional>

namespace kr820::core {

// How a write ended. Every writer goes through a temporary file that replaces the target only
// once all bytes are down, so anything but Written leaves an earlier file as it was.
enum class WriteStatus {
    Written,
    NothingToSave,     // there was nothing to write; no file was touched
    FolderNotCreated,  // the folder the file belongs in is missing and could not be made
    CannotCreate,      // the file could not be opened for writing
    WriteFailed,       // opened, but the bytes did not all reach the disk
};

struct WriteOutcome {
    WriteStatus Status = WriteStatus::Written;
    // The system's reason for a failure; the folder's path for FolderNotCreated.
    QString Reason;

    bool Written() const { return Status == WriteStatus::Written; }
};

// Called after each line of a text file read or written: (lines done, lines expected). Returning
// false stops the operation after that line, which is how a progress window's Cancel acts.
using ProgressCallback = std::function<bool(qsizetype done, qsizetype total)>;

}  // namespace kr820::core
