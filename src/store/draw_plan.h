// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <vector>

#include "store/envelope.h"
#include "store/stored_reading.h"

namespace kr820::store {

// Up to this many readings per pixel a chart draws the readings themselves.
inline constexpr int kRawReadingsPerPixel = 2;

// One pixel column of a chart: what the readings whose time falls in it span.
struct DrawColumn {
    int Pixel = 0;
    Envelope Span;
};

// What to draw for a time range at a width: the readings themselves (Level 0; with the reading
// just before and just after the range, so that lines run on to the edges), or one column per
// pixel that has readings, summarised from envelope entries of Level.
struct DrawPlan {
    int Level = 0;
    qint64 FirstIndex = 0;  // readings of the range: [FirstIndex, EndIndex)
    qint64 EndIndex = 0;
    std::vector<StoredReading> Points;
    std::vector<DrawColumn> Columns;
};

// The envelope level for a number of readings over a width: the coarsest whose entries are no
// wider than a pixel, 0 when few enough readings to draw one by one.
int DrawLevel(qint64 readings, int pixels);

}  // namespace kr820::store
