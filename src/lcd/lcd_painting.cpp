// SPDX-License-Identifier: MIT
#include "lcd/lcd_painting.h"

#include <QLabel>

#include "lcd/frm_lcd.h"
#include "lcd/lcd_digit_pictures.h"

namespace kr820::lcd {
namespace {

// The low four bits: any byte names one of the 16 pictures.
const QPixmap& Picture(const DigitPictures& pictures, quint8 code) { return pictures[code & 0x0F]; }

void SetIconShown(QLabel* image, bool shown) {
    if (image) image->setHidden(!shown);
}

void SetPicture(QLabel* image, const QPixmap& picture) {
    if (image) image->setPixmap(picture);
}

}  // namespace

void PaintLcdChanges(core::LcdState& lcd, TfrmLCD* window) {
    if (!window) return;
    const LcdImageLists& lists = window->ImageLists();
    const quint32 changed = lcd.LcdIcons ^ lcd.ShownIcons;
    for (int i = 0; i < core::kLcdIconCount; ++i) {
        const quint32 bit = quint32{1} << i;
        if (changed & bit) SetIconShown(lists.IconImages[i], lcd.LcdIcons & bit);
    }
    lcd.ShownIcons = lcd.LcdIcons;

    // Main digits follow the sign byte; the sub display's first position is its sign.
    for (int k = 0; k < kMainDigitCount; ++k) {
        const quint8 code = lcd.MainDigits[k + 1];
        if (code != lcd.PaintedMainDigits[k + 1])
            SetPicture(lists.MainDigitImages[k], Picture(DigitBitmaps(), code));
    }
    for (int k = 0; k < kSubDigitCount; ++k) {
        const quint8 code = lcd.SubDigits[k];
        if (code != lcd.PaintedSubDigits[k])
            SetPicture(lists.SubDigitImages[k], Picture(SubDigitBitmaps(), code));
    }
    lcd.PaintedMainDigits = lcd.MainDigits;
    lcd.PaintedSubDigits = lcd.SubDigits;
}

void RepaintLcd(const core::LcdState& lcd, TfrmLCD* window) {
    if (!window) return;
    const LcdImageLists& lists = window->ImageLists();
    for (int i = 0; i < core::kLcdIconCount; ++i)
        SetIconShown(lists.IconImages[i], lcd.ShownIcons & (quint32{1} << i));
    for (int k = 0; k < kMainDigitCount; ++k)
        SetPicture(lists.MainDigitImages[k], Picture(DigitBitmaps(), lcd.PaintedMainDigits[k + 1]));
    for (int k = 0; k < kSubDigitCount; ++k)
        SetPicture(lists.SubDigitImages[k], Picture(SubDigitBitmaps(), lcd.PaintedSubDigits[k]));
}

}  // namespace kr820::lcd
