// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <cstdint>
#include <vector>

#include "core/data/data_set_store.h"
#include "core/time/date_time.h"

namespace kr820::core {

// The decoder's result codes; the download reports them alongside its own transfer codes, so the
// numbers are fixed.
enum class ParseCode : std::int32_t {
    Success = 0,
    DamagedRecord = 1,  // a record failed its marker or bounds check, or the image is cut short
    BadSetCount = 2,    // the set count is negative or above 4000
    NoDataSets = 6,     // the set count is 0
};

struct ParseOutcome {
    ParseCode Code = ParseCode::Success;
    // On DamagedRecord: the damaged set's number (0-based) and the image offset just before its
    // record, that is the last byte of the sets that did decode. -1 otherwise.
    std::int32_t ErrorSet = -1;
    std::int32_t ErrorOffset = -1;
    // On Success: the sets (0-based) whose header held an impossible date or time and which
    // start at `now` instead.
    std::vector<std::int32_t> UndatedSets;
};

// Decodes a memory image into `store`, replacing all it held, or leaves it untouched and says
// why not. A record header with an impossible date or time starts at `now`.
ParseOutcome ParseMemoryImage(QByteArrayView image, TDataSetStore& store, TDateTime now);
// The same, with the PC's clock as `now`.
ParseOutcome ParseMemoryImage(QByteArrayView image, TDataSetStore& store);

// After a DamagedRecord outcome for `image`: decodes the sets lying before the damaged record into
// `store` and returns how many there were. Returns 0 and leaves `store` alone when there are none
// or `failure` is not a damaged record. `undatedSets`, if given, receives the kept sets that start
// at `now` for want of a date.
int RecoverSetsBeforeDamage(QByteArrayView image, const ParseOutcome& failure, TDataSetStore& store,
                            TDateTime now, std::vector<std::int32_t>* undatedSets = nullptr);
int RecoverSetsBeforeDamage(QByteArrayView image, const ParseOutcome& failure,
                            TDataSetStore& store);

}  // namespace kr820::core
