// SPDX-License-Identifier: MIT
#include "store/draw_plan.h"

namespace kr820::store {

bool DrawsPoints(qint64 readings, int pixels) {
    return readings <= qint64(kRawReadingsPerPixel) * pixels;
}

int DrawLevel(qint64 readings, int pixels) {
    if (pixels <= 0) return 0;
    const qint64 perPixel = readings / pixels;
    int level = 0;
    while (level < kTopLevel && ReadingsPerEntry(level + 1) <= perPixel) ++level;
    return level;
}

}  // namespace kr820::store
