// SPDX-License-Identifier: MIT
#pragma once

#include <QLoggingCategory>

namespace kr820::feeds {

// "kr820.feeds": the broker's comings and goings, readings dropped, the metrics endpoint.
Q_DECLARE_LOGGING_CATEGORY(lcFeeds)

}  // namespace kr820::feeds
