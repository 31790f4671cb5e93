// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

namespace kr820::link {

// Port failures that the link survives are reported here with their reason, and at debug level
// the bytes each port reads and writes: "kr820.link".
Q_DECLARE_LOGGING_CATEGORY(lcLink)

}  // namespace kr820::link
