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

// What to draw for a time range at a width: the readings themselves when few enough (with the
// reading just before and just after the range, so that lines run on to the edges), or else one
// column per pixel that has readings, summarised from envelope entries of Level (0: from the
// readings themselves).
struct DrawPlan {
    bool DrawsPoints = true;
    int Level = 0;
    qint64 FirstIndex = 0;  // readings of the range: [FirstIndex, EndIndex)
    qint64 EndIndex = 0;
    std::vector<StoredReading> Points;
    std::vector<DrawColumn> Columns;
};

// Few enough readings over a width to draw them one by one.
bool DrawsPoints(qint64 readings, int pixels);
// The envelope level for a number of readings over a width: the coarsest whose entries hold no
// more readings than a pixel (0: single readings).
int DrawLevel(qint64 readings, int pixels);

}  // namespace kr820::store
