// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDateTime>

namespace kr820::core {

// The body of the write-setup command: "wE", the address as C's "%6.d" and the value as "%3.d",
// each followed by a zero byte (address 64 is four blanks and "64"; value 0 is three blanks).
QByteArray WriteSetupByteBody(int address, int value);

// The body of the set-clock command: "WRTC" and the clock's six BCD bytes as twelve digits,
// yymmddhhnnss.
QByteArray SetClockBody(const QDateTime& clock);

}  // namespace kr820::core
