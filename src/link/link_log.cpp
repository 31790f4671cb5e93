// SPDX-License-Identifier: MIT
#include "link/link_log.h"

namespace kr820::link {

// Debug (every read and write on the port) only where asked for: QT_LOGGING_RULES or kr820-cli -vv.
Q_LOGGING_CATEGORY(lcLink, "kr820.link", QtInfoMsg)

}  // namespace kr820::link
