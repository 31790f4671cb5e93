// SPDX-License-Identifier: MIT
#include "link/link_log.h"

namespace kr820::link {

Q_LOGGING_CATEGORY(lcLink, "kr820.link")

}  // namespace kr820::link
