// SPDX-License-Identifier: MIT
#include "core/logging/log_categories.h"

namespace kr820::core {

Q_LOGGING_CATEGORY(lcFiles, "kr820.files")
Q_LOGGING_CATEGORY(lcRealTime, "kr820.realtime")
Q_LOGGING_CATEGORY(lcSetup, "kr820.setup")

}  // namespace kr820::core
