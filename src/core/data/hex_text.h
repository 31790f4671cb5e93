// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <cstdint>

namespace kr820::core {

// Reads hexadecimal text the way a C "%X" conversion does, which is how the meter's header is
// meant to be read: leading white space skipped, an optional sign, then digits until the first
// character that is not one or `maxWidth` characters (sign included). No digit reads as 0. A
// value past 32 bits sticks at 0xFFFFFFFF; a minus sign negates modulo 2^32.
std::uint32_t ReadHexText(QByteArrayView text, int maxWidth = -1);

}  // namespace kr820::core
