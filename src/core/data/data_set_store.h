// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <cstdint>
#include <vector>

#include "core/time/date_time.h"

namespace kr820::core {

// One record's header as the store keeps it.
struct DataSetHeader {
    TDateTime StartTime = 0;
    std::int32_t RateCode = 0;
    std::int32_t SampleCount = 0;  // T1/T2 pairs
    std::uint8_t Flags = 0;
    std::int32_t FirstByte = 0;  // image offset of the record
    std::int32_t EndByte = 0;    // image offset of its final end marker
};

// A set's block of the flat sequences: it is handed to the chart in one piece.
struct FlatRange {
    qsizetype First = 0;
    qsizetype Count = 0;
};

// The data sets of one logger memory: per-set sequences indexed by set number (0 = first in
// memory), and the samples of all sets in two flat sequences, set after set, each pair as T1 then
// T2 with both carrying the pair's time. Replaced as a whole by each successful decode.
class TDataSetStore {
public:
    int SetCount() const { return static_cast<int>(m_startTimes.size()); }

    const std::vector<TDateTime>& StartTimes() const { return m_startTimes; }
    const std::vector<std::int32_t>& RateCodes() const { return m_rateCodes; }
    const std::vector<std::int32_t>& SampleCounts() const { return m_sampleCounts; }
    const std::vector<std::uint8_t>& SetFlags() const { return m_setFlags; }
    const std::vector<std::int32_t>& FirstBytes() const { return m_firstBytes; }
    const std::vector<std::int32_t>& EndBytes() const { return m_endBytes; }

    const std::vector<float>& Values() const { return m_values; }
    const std::vector<TDateTime>& Times() const { return m_times; }

    // Where set `set` lies in Values() and Times(): 2 x SampleCounts()[set] entries.
    FlatRange SetRange(int set) const;
    // The end of the set's time axis: one interval past its last pair.
    TDateTime SetEndTime(int set) const;

    // Filling, for the decoder: all headers first, then the pairs in the same set order.
    void AppendSet(const DataSetHeader& header);
    void ReserveValues(qsizetype pairs);
    void AppendPair(TDateTime time, float t1, float t2);

    bool operator==(const TDataSetStore&) const = default;

private:
    std::vector<TDateTime> m_startTimes;
    std::vector<std::int32_t> m_rateCodes;
    std::vector<std::int32_t> m_sampleCounts;
    std::vector<std::uint8_t> m_setFlags;
    std::vector<std::int32_t> m_firstBytes;
    std::vector<std::int32_t> m_endBytes;
    std::vector<qsizetype> m_firstValues;  // running sum of the counts before each set, x 2
    qsizetype m_totalValues = 0;

    std::vector<float> m_values;
    std::vector<TDateTime> m_times;
};

}  // namespace kr820::core
