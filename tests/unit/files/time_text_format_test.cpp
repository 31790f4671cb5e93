// SPDX-License-Identifier: MIT
#include "core/files/time_text_format.h"

#include <gtest/gtest.h>

#include "core/files/regional_formats.h"

namespace kr820::core {
namespace {

// The fast reader must agree with the locale's own reading wherever it takes the format.
TEST(TimeTextFormat, ReadsWhatTheLocaleReadsInEveryNumericFormat) {
    int compiled = 0;
    for (const char* name : {"en_US", "de_DE", "fr_FR", "fi_FI", "ko_KR", "en_AU"}) {
        const QLocale locale(QString::fromLatin1(name));
        const QString format = RegionalFormats::FromLocale(locale).LongTime;
        const auto reader = TimeTextFormat::Compile(format, locale);
        if (!reader) continue;  // names in the format: the locale reads those itself
        ++compiled;
        for (const QTime time :
             {QTime(0, 0, 0), QTime(9, 5, 7), QTime(12, 0, 1), QTime(23, 59, 59)}) {
            const QString text = locale.toString(time, format);
            EXPECT_EQ(reader->Read(text), time) << name << ' ' << text.toStdString();
        }
        EXPECT_FALSE(reader->Read(u"25:00:00").isValid()) << name;
        EXPECT_FALSE(reader->Read(u"garbage").isValid()) << name;
    }
    EXPECT_GE(compiled, 4);
}

TEST(TimeTextFormat, FormatsWithNamesAreLeftToTheLocale) {
    EXPECT_FALSE(TimeTextFormat::Compile("HH:mm:ss t", QLocale::c()).has_value());
    EXPECT_TRUE(TimeTextFormat::Compile("h:mm:ss AP", QLocale::c()).has_value());
}

}  // namespace
}  // namespace kr820::core
