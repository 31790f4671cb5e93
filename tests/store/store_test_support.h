// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cmath>

#include "store/stored_reading.h"

namespace kr820::store::testing {

// A clock that steps by the recording's rate: the readings of a test do not depend on the time
// it runs at.
class SteppedClock {
public:
    explicit SteppedClock(qint64 startMs, qint64 stepMs) : m_now(startMs), m_step(stepMs) {}
    qint64 Now() const { return m_now; }
    qint64 Step() { return m_now += m_step; }
    void Jump(qint64 byMs) { m_now += byMs; }

private:
    qint64 m_now;
    qint64 m_step;
};

inline constexpr qint64 kStartMs = 1'700'000'000'000;

// The reading number `i` of a made-up recording at one a second: every field varies, some
// channels out of range, the unit switched now and then.
inline StoredReading MadeUpReading(qint64 i) {
    StoredReading r;
    r.TimeMs = kStartMs + i * 1000;
    r.T1 = float(20.0 + 10.0 * std::sin(double(i) / 50.0));
    r.T2 = float(-5.0 + 0.1 * double(i % 97));
    r.T1Valid = i % 13 != 0;
    r.T2Valid = i % 29 != 0;
    r.Fahrenheit = (i / 1000) % 2 == 1;
    r.T1Alarm = i % 7 == 0;
    r.T2Alarm = i % 11 == 0;
    return r;
}

inline StoreHeader MadeUpHeader() {
    StoreHeader header;
    header.StartMs = kStartMs;
    header.RateSeconds = 1;
    header.Device = QStringLiteral("/dev/ttyUSB0");
    return header;
}

}  // namespace kr820::store::testing
