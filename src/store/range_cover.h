// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <vector>

namespace kr820::store {

// Readings [First, End) of a range as runs of envelope entries: level 0 runs are single readings,
// level L runs are entries of 16^L readings (entry indices). The runs are in order, cover the
// range exactly and use entries no coarser than `topLevel`: small ones at the edges up to
// alignment, the coarsest in the middle.
struct CoverRun {
    int Level = 0;
    qint64 First = 0;
    qint64 End = 0;
    bool operator==(const CoverRun&) const = default;
};

std::vector<CoverRun> CoverRange(qint64 first, qint64 end, int topLevel);

}  // namespace kr820::store
