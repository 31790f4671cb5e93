// SPDX-License-Identifier: MIT
#include "store/range_cover.h"

#include <algorithm>

#include "store/envelope.h"

namespace kr820::store {
namespace {

void Add(std::vector<CoverRun>& runs, int level, qint64 entry) {
    if (!runs.empty() && runs.back().Level == level && runs.back().End == entry) {
        ++runs.back().End;
    } else {
        runs.push_back({level, entry, entry + 1});
    }
}

}  // namespace

std::vector<CoverRun> CoverRange(qint64 first, qint64 end, int topLevel) {
    std::vector<CoverRun> runs;
    // Outside [0, kMaxReadings] there are no readings, and the loops below would run for ages.
    first = std::clamp<qint64>(first, 0, kMaxReadings);
    end = std::clamp<qint64>(end, first, kMaxReadings);
    topLevel = std::clamp(topLevel, 0, kTopLevel);
    qint64 at = first;
    int level = 0;
    // Up: single entries of each level until the position is aligned to the next one.
    while (level < topLevel) {
        const qint64 size = ReadingsPerEntry(level);
        const qint64 next = ReadingsPerEntry(level + 1);
        while (at % next != 0 && at + size <= end) {
            Add(runs, level, at / size);
            at += size;
        }
        if (at % next != 0 || at + next > end) break;
        ++level;
    }
    // Down: the widest entries that still fit, then narrower ones.
    for (; level >= 0; --level) {
        const qint64 size = ReadingsPerEntry(level);
        while (at + size <= end) {
            Add(runs, level, at / size);
            at += size;
        }
    }
    return runs;
}

}  // namespace kr820::store
