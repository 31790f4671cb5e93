// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <optional>

#include "core/time/date_time.h"

namespace kr820::core {

// High nibble tens, low nibble units. Nibbles above 9 are not refused here: they make numbers
// that the date check then rejects or accepts as they fall.
constexpr int FromBcd(std::uint8_t byte) { return (byte >> 4) * 10 + (byte & 0x0F); }

// Six BCD bytes: year - 2000, month, day, hour, minute, second, as the meter's clock read them.
// Empty when they do not make a real date and time of day.
std::optional<TDateTime> BcdDateTime(QByteArrayView sixBytes);

}  // namespace kr820::core
