// SPDX-License-Identifier: MIT
#include "core/live/live_frame_parser.h"

namespace kr820::core {
namespace {

constexpr int kStatusAByte = 1;
constexpr int kStatusBByte = 2;
constexpr int kFirstTemperatureByte = 3;
constexpr int kT2InvalidByte = 19;
constexpr int kT1InvalidByte = 20;

quint8 ByteAt(QByteArrayView frame, int offset) {
    return offset < frame.size() ? static_cast<quint8>(frame[offset]) : 0;
}

qint16 TenthsAt(QByteArrayView frame, int offset) {
    return static_cast<qint16>(
        static_cast<quint16>(ByteAt(frame, offset) << 8 | ByteAt(frame, offset + 1)));
}

}  // namespace

LiveReading ParseLiveFrame(QByteArrayView frame) {
    LiveReading reading;
    reading.Status =
        static_cast<quint16>(ByteAt(frame, kStatusAByte) << 8 | ByteAt(frame, kStatusBByte));
    for (int i = 0; i < kLiveValueCount; ++i)
        reading.Celsius[i] =
            static_cast<float>(TenthsAt(frame, kFirstTemperatureByte + 2 * i) * 0.1);
    reading.Invalid =
        static_cast<quint16>(ByteAt(frame, kT2InvalidByte) << 8 | ByteAt(frame, kT1InvalidByte));
    return reading;
}

}  // namespace kr820::core
