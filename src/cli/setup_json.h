// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include "core/setup/meter_setup.h"

namespace kr820::cli {

// The setup as one JSON object under the field names of "setup set": numbers as JSON numbers
// with their unit ({"value": 60, "unit": "s"}), the rest as the text "setup show" prints.
QByteArray SetupJson(const core::MeterSetup& setup);

}  // namespace kr820::cli
