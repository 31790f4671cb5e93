// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <deque>

#include "feeds/feed_reading.h"

namespace kr820::feeds {

// The readings of one meter waiting for the broker, oldest first. Bounded: when full, the
// oldest is dropped and counted, so an outage longer than the queue costs its start, not the
// newest readings nor the memory of the machine.
class ReadingQueue {
public:
    explicit ReadingQueue(qsizetype limit) : m_limit(qMax<qsizetype>(1, limit)) {}

    void Push(const FeedReading& reading);
    const FeedReading& Front() const { return m_readings.front(); }
    void PopFront() { m_readings.pop_front(); }

    bool Empty() const { return m_readings.empty(); }
    qsizetype Length() const { return static_cast<qsizetype>(m_readings.size()); }
    qsizetype Limit() const { return m_limit; }
    qint64 Dropped() const { return m_dropped; }

private:
    const qsizetype m_limit;
    std::deque<FeedReading> m_readings;
    qint64 m_dropped = 0;
};

}  // namespace kr820::feeds
