// SPDX-License-Identifier: MIT
#pragma once

#include <QCursor>
#include <QPoint>

namespace kr820::graph {

// Where the cross tool's mark lies from the pointer's hot spot: a click places the cross there.
inline constexpr QPoint kCrossMarkOffset{15, 15};
// Where a text placed by the text tool starts from the pointer's hot spot.
inline constexpr QPoint kTextMarkOffset{1, 7};

// The cross tool's pointer: the hot spot is the picture's top-left corner and the cross is drawn
// kCrossMarkOffset away, where the placed cross will be.
QCursor CrossPointer();

}  // namespace kr820::graph
