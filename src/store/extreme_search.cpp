// SPDX-License-Identifier: MIT
#include "store/extreme_search.h"

#include "store/range_cover.h"
#include "store/store_reader.h"

namespace kr820::store {
namespace {

const ChannelSpan& SpanOf(const Envelope& entry, int channel) {
    return channel == 0 ? entry.T1 : entry.T2;
}

bool Holds(const ChannelSpan& span, Extreme extreme, float value) {
    if (span.Empty()) return false;
    return extreme == Extreme::Maximum ? span.Max == value : span.Min == value;
}

std::optional<qint64> FirstReadingIn(StoreReader& reader, qint64 first, qint64 end, int channel,
                                     float value) {
    std::optional<qint64> found;
    reader.ForEach(first, end, [&](qint64 index, const StoredReading& r) {
        const bool valid = channel == 0 ? r.T1Valid : r.T2Valid;
        if (valid && (channel == 0 ? r.T1 : r.T2) == value) found = index;
        return !found;
    });
    return found;
}

// The first reading under entry `entry` of `level` that holds the value; the entries below are
// searched in order, so the first that holds it leads to the earliest reading.
std::optional<qint64> Descend(StoreReader& reader, int level, qint64 entry, int channel,
                              Extreme extreme, float value) {
    for (; level > 1; --level) {
        const auto children = reader.Entries(level - 1, entry * kFanOut, (entry + 1) * kFanOut);
        if (!children) return std::nullopt;
        qint64 next = -1;
        for (std::size_t k = 0; k < children->size() && next < 0; ++k) {
            if (Holds(SpanOf((*children)[k], channel), extreme, value))
                next = entry * kFanOut + qint64(k);
        }
        if (next < 0) return std::nullopt;
        entry = next;
    }
    return FirstReadingIn(reader, entry * kFanOut, (entry + 1) * kFanOut, channel, value);
}

}  // namespace

std::optional<qint64> FirstReadingWith(StoreReader& reader, int channel, Extreme extreme,
                                       float value) {
    for (const CoverRun& run : CoverRange(0, reader.Count(), kTopLevel)) {
        if (run.Level == 0) {
            if (auto found = FirstReadingIn(reader, run.First, run.End, channel, value))
                return found;
            continue;
        }
        const auto entries = reader.Entries(run.Level, run.First, run.End);
        if (!entries) return std::nullopt;
        for (std::size_t k = 0; k < entries->size(); ++k) {
            if (Holds(SpanOf((*entries)[k], channel), extreme, value))
                return Descend(reader, run.Level, run.First + qint64(k), channel, extreme, value);
        }
    }
    return std::nullopt;
}

}  // namespace kr820::store
