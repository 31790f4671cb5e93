// SPDX-License-Identifier: MIT
// Builds live frames byte by byte as the meter sends them, for the decoder's and the LCD
// window's tests. Written from the wire layout, not from the decoder's constants, so that a
// wrong constant in the decoder shows up as a failing test.
#pragma once

#include <QByteArray>
#include <array>

namespace kr820::test_support {

// Status A
constexpr quint8 kA_AutoOff = 0x01, kA_Rel = 0x02, kA_LowBattery = 0x04, kA_RecBlink = 0x08,
                 kA_T1Point2 = 0x10, kA_T2Point2 = 0x20, kA_Printer = 0x40;
// Status B
constexpr quint8 kB_TypeJ = 0x01, kB_RecSteady = 0x08, kB_ModeMax = 0x10, kB_ModeMin = 0x20,
                 kB_ModeBlink = 0x30, kB_Fahrenheit = 0x40, kB_T2OnMain = 0x80;

struct LiveFrameFields {
    quint8 statusA = 0x00;
    quint8 statusB = 0x00;
    // T1, T2, T1 REL, T2 REL, T1 MIN, T2 MIN, T1 MAX, T2 MAX in tenths of a degree Celsius
    std::array<qint16, 8> tenths{};
    quint8 t2Invalid = 0;
    quint8 t1Invalid = 0;

    LiveFrameFields& Status(quint8 a, quint8 b) {
        statusA = a;
        statusB = b;
        return *this;
    }
};

inline QByteArray LiveFrame(const LiveFrameFields& f) {
    QByteArray frame(23, '\0');
    frame[0] = 0x02;
    frame[1] = static_cast<char>(f.statusA);
    frame[2] = static_cast<char>(f.statusB);
    for (int i = 0; i < 8; ++i) {
        frame[3 + 2 * i] = static_cast<char>(static_cast<quint16>(f.tenths[i]) >> 8);
        frame[4 + 2 * i] = static_cast<char>(f.tenths[i] & 0xFF);
    }
    frame[19] = static_cast<char>(f.t2Invalid);
    frame[20] = static_cast<char>(f.t1Invalid);
    frame[22] = 0x03;
    return frame;
}

// T1 and T2 alone, everything else zero.
inline LiveFrameFields Readings(qint16 t1Tenths, qint16 t2Tenths, quint8 a = 0, quint8 b = 0) {
    LiveFrameFields f;
    f.tenths[0] = t1Tenths;
    f.tenths[1] = t2Tenths;
    return f.Status(a, b);
}

}  // namespace kr820::test_support
