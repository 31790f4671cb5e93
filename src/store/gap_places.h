// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <vector>

#include "store/stored_reading.h"

namespace kr820::store {

class StoreReader;

// A gap or a clock step with its place in the readings' order.
struct PlacedGap {
    Gap Span;
    qint64 Before = 0;  // the index of the first reading after it; the count when none is
};

// Places the gaps and the clock's steps among the readings by their order, not by time alone:
// after a step back times repeat, so a time names no single place. A step sits where the
// readings' times go back; a gap among the readings between the steps marked around it.
// The steps found are kept, so that a follower's next call reads only the readings after them.
class GapPlaces {
public:
    // In the order they were marked; a gap still open too.
    std::vector<PlacedGap> Of(StoreReader& reader);

private:
    std::vector<qint64> m_steps;  // the first reading after each step found
};

}  // namespace kr820::store
