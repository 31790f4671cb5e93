// SPDX-License-Identifier: MIT
// A stable name for the pseudo-terminal, whose own number changes on every run.
#pragma once

#include <string>

namespace kr820::emulator {

// Points linkPath at target, replacing a symlink already there. Refuses to replace anything
// that is not a symlink, so a mistyped path never destroys a file.
bool ReplaceSymlink(const std::string& target, const std::string& linkPath, std::string* error);

// Removes linkPath only while it still points at target: another emulator may have taken the
// name over since.
void RemoveSymlinkTo(const std::string& target, const std::string& linkPath);

}  // namespace kr820::emulator
