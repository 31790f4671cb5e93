// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

namespace kr820::core {

// One logging category per concern, so that QT_LOGGING_RULES can show or hide each one
// ("kr820.files.debug=true"). The link has its own, "kr820.link"; the command-line program
// "kr820.cli".
Q_DECLARE_LOGGING_CATEGORY(lcFiles)     // "kr820.files": files that could not be written or read
Q_DECLARE_LOGGING_CATEGORY(lcRealTime)  // "kr820.realtime": the recording and its journal
Q_DECLARE_LOGGING_CATEGORY(lcSetup)     // "kr820.setup": the meter's setup, clock and erase

}  // namespace kr820::core
