// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>
#include <vector>

namespace kr820::app {

// Where Window > Tile and Window > Cascade put `count` windows in a workspace of `area`: every
// place lies inside the area and is at least `minimum` in size wherever the area allows it.
// Windows that cannot all fit at their minimum overlap rather than leave the area.

// A grid of about as many columns as rows, filled row by row, with fewer or more columns where
// that lets every cell hold `minimum`. Windows that fit in no grid at their minimum are
// cascaded by `step` instead: overlapping tiles would hide the title bars' buttons.
std::vector<QRect> TiledPlaces(QSize area, int count, QSize minimum, int step);

// Each window `step` pixels right and down from the one before, all of one size, the last one
// reaching the area's bottom-right corner while the steps fit: smaller than `minimum` where the
// steps leave less, since a window over another's title bar hides its buttons.
std::vector<QRect> CascadedPlaces(QSize area, int count, QSize minimum, int step);

}  // namespace kr820::app
