// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <optional>

namespace kr820::cli {

// The refusal of an empty --device (a script's variable that was not set): searching instead
// would reach whichever meter answers first, and erase or set up the wrong one. For every value
// given; the line names the option and what to do. Also a network device written wrong
// (tcp://HOST:PORT, rfc2217://HOST:PORT), which would otherwise only fail to open.
std::optional<QString> DeviceRefusal(const QStringList& values);

}  // namespace kr820::cli
