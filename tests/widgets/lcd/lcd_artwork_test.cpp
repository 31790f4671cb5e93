// SPDX-License-Identifier: MIT
// The digit and annunciator pictures the program draws for itself.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "lcd/lcd_digit_pictures.h"
#include "lcd/lcd_icon_pictures.h"

namespace kr820::lcd {
namespace {

bool Inked(const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)) > 0; }

int InkedPixels(const QImage& image) {
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += Inked(image, x, y);
    return count;
}

void ExpectSevenSegmentGlyphs(const DigitPictures& pictures, QSize size) {
    const QImage eight = pictures[8].toImage();
    std::set<QByteArray> distinct;
    for (int code = 0; code < kDigitPictureCount; ++code) {
        SCOPED_TRACE(code);
        const QImage image = pictures[code].toImage().convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(image.size(), size);
        const bool blank = code == 11 || code == 12 || code == 14 || code == 15;
        EXPECT_EQ(InkedPixels(image) == 0, blank);
        if (blank) continue;
        // Every glyph lights a subset of the segments of an 8.
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (Inked(image, x, y)) {
                    ASSERT_TRUE(Inked(eight, x, y)) << x << "," << y;
                }
            }
        }
        distinct.insert(
            QByteArray(reinterpret_cast<const char*>(image.constBits()), image.sizeInBytes()));
    }
    EXPECT_EQ(distinct.size(), 12u) << "0-9, the dash and the L must all differ";
}

TEST(LcdArtwork, DigitsAreSevenSegmentGlyphs) {
    ExpectSevenSegmentGlyphs(DigitBitmaps(), {34, 62});
    ExpectSevenSegmentGlyphs(SubDigitBitmaps(), {17, 31});
    // The window shows main digits 33 pixels wide: nothing may be drawn in the last column.
    const QImage eight = DigitBitmaps()[8].toImage();
    for (int y = 0; y < 62; ++y) EXPECT_FALSE(Inked(eight, 33, y)) << y;
}

TEST(LcdArtwork, EveryIconHasInkOnATransparentGroundAtItsImageSize) {
    for (const core::LcdIconImage& icon : core::kLcdIconImages) {
        SCOPED_TRACE(std::string(icon.name));
        const QPixmap& picture = IconPicture(icon.icon);
        EXPECT_EQ(picture.size(), QSize(icon.width, icon.height));
        const int inked = InkedPixels(picture.toImage());
        EXPECT_GT(inked, 0);
        EXPECT_LT(inked, icon.width * icon.height);
    }
}

}  // namespace
}  // namespace kr820::lcd
