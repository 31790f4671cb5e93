// SPDX-License-Identifier: MIT
#include "core/data/data_set_store.h"

#include "core/data/rate_codes.h"

namespace kr820::core {

FlatRange TDataSetStore::SetRange(int set) const {
    return {m_firstValues.at(set), 2 * static_cast<qsizetype>(m_sampleCounts.at(set))};
}

TDateTime TDataSetStore::SetEndTime(int set) const {
    return m_startTimes.at(set) +
           m_sampleCounts.at(set) * RateSeconds(m_rateCodes.at(set)) / kSecondsPerDay;
}

void TDataSetStore::AppendSet(const DataSetHeader& header) {
    m_startTimes.push_back(header.StartTime);
    m_rateCodes.push_back(header.RateCode);
    m_sampleCounts.push_back(header.SampleCount);
    m_setFlags.push_back(header.Flags);
    m_firstBytes.push_back(header.FirstByte);
    m_endBytes.push_back(header.EndByte);
    m_firstValues.push_back(m_totalValues);
    m_totalValues += 2 * static_cast<qsizetype>(header.SampleCount);
}

void TDataSetStore::ReserveValues(qsizetype pairs) {
    m_values.reserve(2 * pairs);
    m_times.reserve(2 * pairs);
}

void TDataSetStore::AppendPair(TDateTime time, float t1, float t2) {
    m_values.push_back(t1);
    m_values.push_back(t2);
    m_times.push_back(time);
    m_times.push_back(time);
}

}  // namespace kr820::core
