// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>
#include <optional>

namespace kr820::core {

// The bounds a saved scale file holds, in file order: T1 minimum, T1 maximum, T2 minimum, T2
// maximum. A bound whose line is missing or is not a number is empty: the caller's stays.
using ScaleBounds = std::array<std::optional<double>, 4>;

// All four empty when the file is missing or cannot be read.
ScaleBounds ReadScaleFile(const QString& path);

}  // namespace kr820::core
