// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::cli {

// "kr820-cli 1.0.0", the build's revision where it was built from a git tree, and Qt's version
// at run time (and at build time where they differ), one a line.
QString VersionText();
// The version alone ("1.0.0"), and the source's revision where the build knew it (else empty).
QString ProgramVersion();
QString ProgramRevision();

}  // namespace kr820::cli
