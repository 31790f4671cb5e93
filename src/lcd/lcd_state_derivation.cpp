// SPDX-License-Identifier: MIT
#include "lcd/lcd_state_derivation.h"

#include "core/live/display_digits.h"
#include "core/live/lcd_icon_table.h"

namespace kr820::lcd {
namespace {

using core::DisplayUnit;
using core::IconBit;
using core::LcdIcon;
using core::LiveValue;

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
constexpr int kModeShift = 4;
constexpr quint8 kT2OnMain = 0x80;

enum DisplayMode { kNormal = 0, kMax = 1, kMin = 2, kMaxMinBlinking = 3 };

}  // namespace

BlinkTimerDemand DeriveLcdState(const core::LiveReading& reading, core::LcdState& lcd) {
    const quint8 statusA = reading.StatusA();
    const quint8 statusB = reading.StatusB();

    quint32 icons = 0;
    auto set = [&icons](LcdIcon icon, bool shown) {
        if (shown) icons |= IconBit(icon);
    };

    const bool typeJ = (statusB & kTypeMask) == kTypeJ;
    const DisplayUnit unit = reading.Unit();
    const bool meterRecording = reading.MeterLogging();

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

    const quint8 t1Invalid = reading.InvalidFlags(core::Channel::T1);
    const quint8 t2Invalid = reading.InvalidFlags(core::Channel::T2);

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
        core::FormatDisplayDigits(lcd.SubDigits, t1Invalid, t1Shown, unit, relMode);
        core::FormatDisplayDigits(lcd.MainDigits, t2Invalid, t2Shown, unit, relMode);
        mainPointBeforeTwo = t2PointBeforeTwo;
        subPointBeforeTwo = t1PointBeforeTwo;
    } else {
        core::FormatDisplayDigits(lcd.MainDigits, t1Invalid, t1Shown, unit, relMode);
        core::FormatDisplayDigits(lcd.SubDigits, t2Invalid, t2Shown, unit, relMode);
    }
    set(LcdIcon::MPoint3, mainPointBeforeTwo);
    set(LcdIcon::MPoint4, !mainPointBeforeTwo);
    set(LcdIcon::SubPoint1, subPointBeforeTwo);
    set(LcdIcon::SubPoint2, !subPointBeforeTwo);

    // An invalid channel leaves the sign byte as it was, so the main minus sign stays as the
    // last valid value left it.
    set(LcdIcon::T1Minus, lcd.MainDigits[0] == '-');
    // The sub display has no minus icon: its first digit position shows the sign.
    lcd.SubDigits[0] = lcd.SubDigits[0] == '-' ? core::kDigitDash : core::kDigitBlank;

    lcd.LcdIcons = icons;
    return blink;
}

}  // namespace kr820::lcd
