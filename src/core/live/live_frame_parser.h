// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

#include "core/live/live_reading.h"

namespace kr820::core {

// One 23-byte live frame (STX to ETX, as CutLiveFrames hands it over) as a reading: the status
// word, the eight temperatures in degrees Celsius and the channels' invalid flags. Pure: the
// reading depends on the frame alone. A short frame reads its missing bytes as zero.
LiveReading ParseLiveFrame(QByteArrayView frame);

}  // namespace kr820::core
