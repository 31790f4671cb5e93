// SPDX-License-Identifier: MIT
#include "feeds/reading_queue.h"

namespace kr820::feeds {

void ReadingQueue::Push(const FeedReading& reading) {
    if (Length() >= m_limit) {
        m_readings.pop_front();
        ++m_dropped;
    }
    m_readings.push_back(reading);
}

}  // namespace kr820::feeds
