// SPDX-License-Identifier: MIT
#include "core/live/live_frame_decoder.h"

#include "core/live/display_digits.h"
#include "core/live/lcd_icon_table.h"
#include "core/protocol/live_frame_cutter.h"

namespace kr820::core {
namespace {

// Status A (byte 1)
constexpr quint8 kAutoOff = 0x01;
constexpr quint8 kRelMode = 0x02;
constexpr quint8 kLowBattery = 0x04;
constexpr quint8 kRecBlinking = 0x08;
constexpr quint8 kT1PointBeforeTwoDigits = 0x10;
constexpr quint8 kT2PointBeforeTwoDigits = 0x20;
constexpr quint8 kPrinterActive = 0x40;
// Status B (byte 2)
constexpr quint8 kTypeMask = 0x03;
constexpr quint8 kTypeJ = 0x01;  // 0, 2 and 3 all mean K
constexpr quint8 kRecSteady = 0x08;
constexpr int kModeShift = 4;
constexpr quint8 kFahrenheit = 0x40;
constexpr quint8 kT2OnMain = 0x80;

enum DisplayMode { kNormal = 0, kMax = 1, kMin = 2, kMaxMinBlinking = 3 };

constexpr int kFirstTemperatureByte = 3;
constexpr int kT2InvalidByte = 19;
constexpr int kT1InvalidByte = 20;

class FrameBytes {
public:
    explicit FrameBytes(QByteArrayView frame) : m_frame(frame) {}
    // Reads past a short frame as zero rather than out of bounds.
    quint8 At(int offset) const {
        return offset < m_frame.size() ? static_cast<quint8>(m_frame[offset]) : 0;
    }
    qint16 Tenths(int offset) const {
        return static_cast<qint16>(static_cast<quint16>(At(offset) << 8 | At(offset + 1)));
    }

private:
    QByteArrayView m_frame;
};

}  // namespace

BlinkTimerDemand DecodeLiveFrame(QByteArrayView frame, LiveReading& reading, bool& meterRecording,
                                 LcdState& lcd) {
    Q_ASSERT(frame.size() == kLiveFrameBytes);
    const FrameBytes bytes(frame);
    const quint8 statusA = bytes.At(1);
    const quint8 statusB = bytes.At(2);
    reading.Status = static_cast<quint16>(statusA << 8 | statusB);

    quint32 icons = 0;
    auto set = [&icons](LcdIcon icon, bool shown) {
        if (shown) icons |= IconBit(icon);
    };

    const bool typeJ = (statusB & kTypeMask) == kTypeJ;
    const DisplayUnit unit =
        (statusB & kFahrenheit) ? DisplayUnit::Fahrenheit : DisplayUnit::Celsius;
    meterRecording = (statusB & kRecSteady) != 0;

    BlinkTimerDemand blink;
    blink.recBlinkTimerRuns = (statusA & kRecBlinking) != 0;
    set(LcdIcon::Rec, !blink.recBlinkTimerRuns && meterRecording);

    const int mode = (statusB >> kModeShift) & 0x03;
    blink.blinkTimerRuns = mode == kMaxMinBlinking;
    set(LcdIcon::Max, mode == kMax);
    set(LcdIcon::Min, mode == kMin);

    const bool t2OnMain = (statusB & kT2OnMain) != 0;
    set(LcdIcon::T1, !t2OnMain);
    set(LcdIcon::T2, t2OnMain);
    set(LcdIcon::SubT1, t2OnMain);
    set(LcdIcon::SubT2, !t2OnMain);
    const bool relMode = (statusA & kRelMode) != 0;
    set(LcdIcon::AutoOff, statusA & kAutoOff);
    set(LcdIcon::Rel, relMode);
    set(LcdIcon::LBT, statusA & kLowBattery);
    set(LcdIcon::Printer, statusA & kPrinterActive);
    set(LcdIcon::K, !typeJ);
    set(LcdIcon::J, typeJ);
    set(LcdIcon::C, unit == DisplayUnit::Celsius);
    set(LcdIcon::F, unit == DisplayUnit::Fahrenheit);
    set(LcdIcon::SubC, unit == DisplayUnit::Celsius);
    set(LcdIcon::SubF, unit == DisplayUnit::Fahrenheit);

    for (int i = 0; i < kLiveValueCount; ++i) {
        const qint16 tenths = bytes.Tenths(kFirstTemperatureByte + 2 * i);
        reading.Celsius[i] = static_cast<float>(tenths * 0.1);
    }
    const quint8 t1Invalid = bytes.At(kT1InvalidByte);
    const quint8 t2Invalid = bytes.At(kT2InvalidByte);
    reading.Invalid = static_cast<quint16>(t2Invalid << 8 | t1Invalid);

    float t1Shown = reading.Value(LiveValue::T1);
    float t2Shown = reading.Value(LiveValue::T2);
    if (mode == kMax) {
        t1Shown = reading.Value(LiveValue::T1Max);
        t2Shown = reading.Value(LiveValue::T2Max);
    } else if (mode == kMin) {
        t1Shown = reading.Value(LiveValue::T1Min);
        t2Shown = reading.Value(LiveValue::T2Min);
    } else if (relMode) {
        t1Shown -= reading.Value(LiveValue::T1Rel);
        t2Shown -= reading.Value(LiveValue::T2Rel);
    }

    const bool t1PointBeforeTwo = (statusA & kT1PointBeforeTwoDigits) != 0;
    const bool t2PointBeforeTwo = (statusA & kT2PointBeforeTwoDigits) != 0;
    bool mainPointBeforeTwo = t1PointBeforeTwo;
    bool subPointBeforeTwo = t2PointBeforeTwo;
    if (t2OnMain) {
        FormatDisplayDigits(lcd.SubDigits, t1Invalid, t1Shown, unit, relMode);
        FormatDisplayDigits(lcd.MainDigits, t2Invalid, t2Shown, unit, relMode);
        mainPointBeforeTwo = t2PointBeforeTwo;
        subPointBeforeTwo = t1PointBeforeTwo;
    } else {
        FormatDisplayDigits(lcd.MainDigits, t1Invalid, t1Shown, unit, relMode);
        FormatDisplayDigits(lcd.SubDigits, t2Invalid, t2Shown, unit, relMode);
    }
    set(LcdIcon::MPoint3, mainPointBeforeTwo);
    set(LcdIcon::MPoint4, !mainPointBeforeTwo);
    set(LcdIcon::SubPoint1, subPointBeforeTwo);
    set(LcdIcon::SubPoint2, !subPointBeforeTwo);

    // An invalid channel leaves the sign byte as it was, so the main minus sign stays as the
    // last valid value left it.
    set(LcdIcon::T1Minus, lcd.MainDigits[0] == '-');
    // The sub display has no minus icon: its first digit position shows the sign.
    lcd.SubDigits[0] = lcd.SubDigits[0] == '-' ? kDigitDash : kDigitBlank;

    lcd.LcdIcons = icons;
    return blink;
}

}  // namespace kr820::core
