// SPDX-License-Identifier: MIT
#include "feeds/feeds_log.h"

namespace kr820::feeds {

Q_LOGGING_CATEGORY(lcFeeds, "kr820.feeds")

}  // namespace kr820::feeds
