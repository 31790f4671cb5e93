// SPDX-License-Identifier: MIT
// The digit and annunciator pictures the program draws for itself.
#include <gtest/gtest.h>

#include <QImage>
#include <set>

#include "core/live/lcd_icon_table.h"
#include "lcd/lcd_digit_pictures.h"
#include "lcd/lcd_icon_pictures.h"

namespace kr820::lcd {
namespace {

bool Inked(const QImage& image, int x, int y) { return qAlpha(image.pixel(x, y)) > 0; }

int InkedPixels(const QPixmap& picture) {
    const QImage image = picture.toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) count += Inked(image, x, y);
    return count;
}

void ExpectDigitSet(const DigitPictures& pictures, QSize size) {
    const QImage eight = pictures[8].toImage();
    std::set<QByteArray> distinct;
    for (int code = 0; code < kDigitPictureCount; ++code) {
        SCOPED_TRACE(code);
        const QPixmap& picture = pictures[code];
        EXPECT_EQ(picture.size(), size);
        const bool blank = code == 11 || code == 12 || code == 14 || code == 15;
        EXPECT_EQ(InkedPixels(picture) == 0, blank);
        if (blank) continue;
        // Every glyph lights a subset of the segments of an 8.
        const QImage image = picture.toImage();
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (Inked(image, x, y)) {
                    ASSERT_TRUE(Inked(eight, x, y)) << x << "," << y;
                }
            }
        }
        const QImage bits = image.convertToFormat(QImage::Format_ARGB32);
        distinct.insert(
            QByteArray(reinterpret_cast<const char*>(bits.constBits()), bits.sizeInBytes()));
    }
    EXPECT_EQ(distinct.size(), 12u) << "0-9, the dash and the L must all differ";
    EXPECT_LT(InkedPixels(pictures[10]), InkedPixels(pictures[1]));
}

TEST(LcdArtwork, MainDigitsAreSevenSegmentGlyphs) {
    ExpectDigitSet(DigitBitmaps(), QSize(34, 62));
    // The window shows them 33 pixels wide: nothing may be drawn in the last column.
    const QImage eight = DigitBitmaps()[8].toImage();
    for (int y = 0; y < 62; ++y) EXPECT_FALSE(Inked(eight, 33, y)) << y;
}

TEST(LcdArtwork, SubDigitsAreSevenSegmentGlyphs) { ExpectDigitSet(SubDigitBitmaps(), {17, 31}); }

TEST(LcdArtwork, PicturesAreDrawnOnceAndShared) {
    EXPECT_EQ(&DigitBitmaps(), &DigitBitmaps());
    EXPECT_EQ(DigitBitmaps()[3].cacheKey(), DigitBitmaps()[3].cacheKey());
    EXPECT_EQ(IconPicture(core::LcdIcon::Rec).cacheKey(),
              IconPicture(core::LcdIcon::Rec).cacheKey());
}

TEST(LcdArtwork, EveryIconHasInkOnATransparentGroundAtItsImageSize) {
    for (const core::LcdIconImage& icon : core::kLcdIconImages) {
        SCOPED_TRACE(std::string(icon.name));
        const QPixmap& picture = IconPicture(icon.icon);
        EXPECT_EQ(picture.size(), QSize(icon.width, icon.height));
        const int inked = InkedPixels(picture);
        EXPECT_GT(inked, 0);
        EXPECT_LT(inked, icon.width * icon.height);
    }
}

}  // namespace
}  // namespace kr820::lcd
