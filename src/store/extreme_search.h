// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <optional>

namespace kr820::store {

class StoreReader;

enum class Extreme { Minimum, Maximum };

// The first reading whose channel (0 T1, 1 T2) holds `value` as a valid value, found by going
// down the envelopes that hold it: a statistics box tells an extreme's time without reading the
// whole recording. Nothing when no reading holds it or a block does not read.
std::optional<qint64> FirstReadingWith(StoreReader& reader, int channel, Extreme extreme,
                                       float value);

}  // namespace kr820::store
