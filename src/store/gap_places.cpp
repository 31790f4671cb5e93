// SPDX-License-Identifier: MIT
#include "store/gap_places.h"

#include <limits>
#include <optional>

#include "store/store_reader.h"

namespace kr820::store {
namespace {

// The first reading from `first` on whose time is earlier than the one before it.
std::optional<qint64> NextStepBack(StoreReader& reader, qint64 first) {
    std::optional<qint64> found;
    std::optional<qint64> previousMs;
    reader.ForEach(first, reader.Count(), [&](qint64 index, const StoredReading& r) {
        if (previousMs && r.TimeMs < *previousMs) {
            found = index;
            return false;
        }
        previousMs = r.TimeMs;
        return true;
    });
    return found;
}

// The first reading of [first, end) later than `timeMs`, where the times do not go back.
qint64 FirstAfter(StoreReader& reader, qint64 timeMs, qint64 first, qint64 end) {
    while (first < end) {
        const qint64 middle = first + (end - first) / 2;
        const std::optional<StoredReading> r = reader.At(middle);
        if (r && r->TimeMs <= timeMs) {
            first = middle + 1;
        } else {
            end = middle;
        }
    }
    return first;
}

}  // namespace

std::vector<PlacedGap> GapPlaces::Of(StoreReader& reader) {
    const std::vector<Gap> marked = reader.GapsAsMarked();
    const qint64 count = reader.Count();
    // A step not found yet (a damaged store) is placed after the last reading.
    std::size_t stepsMarked = 0;
    for (const Gap& gap : marked) {
        if (gap.Cause != GapCause::ClockSetBack) continue;
        if (++stepsMarked <= m_steps.size()) continue;
        const std::optional<qint64> at = NextStepBack(reader, m_steps.empty() ? 0 : m_steps.back());
        if (!at) break;
        m_steps.push_back(*at);
    }
    std::vector<PlacedGap> placed;
    placed.reserve(marked.size());
    std::size_t step = 0;
    qint64 first = 0;
    for (const Gap& gap : marked) {
        if (gap.Cause == GapCause::ClockSetBack) {
            first = step < m_steps.size() ? m_steps[step] : count;
            ++step;
            placed.push_back({gap, first});
            continue;
        }
        // After the readings taken at or before its start.
        qint64 before = count;
        if (gap.FromMs != std::numeric_limits<qint64>::max()) {
            before = stepsMarked == 0 ? reader.LowerBound(gap.FromMs + 1)
                                      : FirstAfter(reader, gap.FromMs, first,
                                                   step < m_steps.size() ? m_steps[step] : count);
        }
        placed.push_back({gap, before});
    }
    return placed;
}

}  // namespace kr820::store
