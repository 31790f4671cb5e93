// SPDX-License-Identifier: MIT
// Builds live frames byte by byte as the meter sends them, for the decoder's and the LCD
// window's tests. Written from the wire layout, not from the decoder's constants, so that a
// wrong constant in the decoder shows up as a failing test.
#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <array>

namespace kr820::test_support {

struct LiveFrameFields {
    quint8 statusA = 0x00;
    quint8 statusB = 0x00;
    // T1, T2, T1 REL, T2 REL, T1 MIN, T2 MIN, T1 MAX, T2 MAX in tenths of a degree Celsius
    std::array<qint16, 8> tenths{};
    quint8 t2Invalid = 0;
    quint8 t1Invalid = 0;
};

inline QByteArray LiveFrame(const LiveFrameFields& f) {
    QByteArray frame(23, '\0');
    frame[0] = 0x02;
    frame[1] = static_cast<char>(f.statusA);
    frame[2] = static_cast<char>(f.statusB);
    for (int i = 0; i < 8; ++i) {
        const auto raw = static_cast<quint16>(f.tenths[i]);
        frame[3 + 2 * i] = static_cast<char>(raw >> 8);
        frame[4 + 2 * i] = static_cast<char>(raw & 0xFF);
    }
    frame[19] = static_cast<char>(f.t2Invalid);
    frame[20] = static_cast<char>(f.t1Invalid);
    frame[22] = 0x03;
    return frame;
}

// T1 and T2 alone, everything else zero.
inline LiveFrameFields Readings(qint16 t1Tenths, qint16 t2Tenths) {
    LiveFrameFields f;
    f.tenths[0] = t1Tenths;
    f.tenths[1] = t2Tenths;
    return f;
}

}  // namespace kr820::test_support
