// SPDX-License-Identifier: MIT
// Text files are written and read without the locale where that was found to match it: these
// compare the two ways over every second of a day and every tenth a file can hold.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <random>

#include "core/data/limit_values.h"
#include "core/files/text_fields.h"
#include "core/files/text_line.h"
#include "core/files/time_text_format.h"

namespace kr820::core {
namespace {

RegionalFormats Formats(const char* locale) {
    return RegionalFormats::FromLocale(QLocale(QString::fromLatin1(locale)), QDate(2026, 6, 15));
}

TEST(TimeTextFormat, WritesWhatTheLocaleWritesForEverySecondOfTheDay) {
    int writing = 0;
    for (const char* name : {"en_US", "de_DE", "ko_KR", "sv_SE", "en_AU", "fi_FI"}) {
        const QLocale locale(QString::fromLatin1(name));
        for (const QString& format : {RegionalFormats::FromLocale(locale).LongTime,
                                      QStringLiteral("hh'h'mm ap"), QStringLiteral("H.m.s")}) {
            const auto compiled = TimeTextFormat::Compile(format, locale);
            if (!compiled || !compiled->Writes()) continue;
            ++writing;
            for (int second = 0; second < 86400; ++second) {
                const QTime time = QTime(0, 0).addSecs(second);
                QByteArray written(compiled->MaxBytes(), Qt::Uninitialized);
                written.truncate(compiled->Write(time, written.data()) - written.constData());
                ASSERT_EQ(QString::fromUtf8(written), locale.toString(time, format))
                    << name << ' ' << format.toStdString() << ' ' << second;
            }
        }
    }
    EXPECT_GE(writing, 14);
    // Arabic digits stay with the locale.
    const QLocale arabic(QStringLiteral("ar_EG"));
    const auto compiled = TimeTextFormat::Compile(QStringLiteral("h:mm:ss AP"), arabic);
    EXPECT_TRUE(!compiled || !compiled->Writes());
}

// Every tenth from -3000 to 3000, and the floats on either side of it, as the writer puts them
// into a line, and each text back through the reader.
TEST(TextFields, LinesAndValuesAreTheLocalesOwnForEveryTenth) {
    const TDateTime x = WallClockDateTime(QDate(2026, 3, 15), QTime(14, 3, 4));
    for (const char* name : {"en_US", "de_DE", "sv_SE"}) {
        const RegionalFormats formats = Formats(name);
        TextLineWriter writer(TextSeparator::Tab, formats);
        TextFieldReader reader(formats);
        const QByteArray start = (DateText(QDate(2026, 3, 15), formats) + u'\t' +
                                  TimeText(QTime(14, 3, 4), formats) + u'\t')
                                     .toUtf8();
        for (int tenths = -30000; tenths <= 30000; ++tenths) {
            const float tenth = tenths / 10.0f;
            for (const float value :
                 {std::nextafter(tenth, -1e9f), tenth, std::nextafter(tenth, 1e9f)}) {
                QByteArray line;
                writer.Append(x, value, -value, line);
                const QString text = ValueText(value, formats);
                const QByteArray expected =
                    start + text.toUtf8() + '\t' + ValueText(-value, formats).toUtf8() + "\r\n";
                ASSERT_EQ(line, expected) << name << ' ' << value;
                const float locale = ReadValue(text, formats);
                const float read = reader.Value(text);
                ASSERT_EQ(std::memcmp(&read, &locale, sizeof read), 0) << name << ' ' << value;
            }
        }
    }
}

TEST(TextFields, TextsThatAreNotPlainNumbersAreReadAsTheLocaleReadsThem) {
    for (const char* name : {"en_US", "de_DE", "sv_SE", "fr_FR"}) {
        const RegionalFormats formats = Formats(name);
        const TextFieldReader reader(formats);
        for (const QStringView text :
             {u"007",     u"0.5",    u"0,5",        u".5",
              u",5",      u"1.",     u"1,",         u"1e3",
              u"+3",      u"--1",    u"-",          u"1 000",
              u"1.000,5", u" 12,5 ", u"\u221212,5", u"12345678901234567890",
              u"0OL",     u"nan",    u"inf",        u"",
              u"\u0662"}) {
            const float locale = ReadValue(text, formats);
            const float read = reader.Value(text);
            EXPECT_EQ(std::memcmp(&read, &locale, sizeof read), 0)
                << name << " '" << text.toString().toStdString() << "': " << read << " against "
                << locale;
        }
    }
}

// Numbers of up to 15 digits are read by arithmetic, longer ones by the library: both round to the
// float the locale gives, whatever the digits and decimals.
TEST(TextFields, NumbersOfEveryLengthAreReadAsTheLocaleReadsThem) {
    const RegionalFormats formats = Formats("en_US");
    const TextFieldReader reader(formats);
    std::mt19937_64 random(20261208);
    int checked = 0;
    for (int digits = 1; digits <= 24; ++digits) {
        for (int decimals = 0; decimals < digits; ++decimals) {
            for (int sample = 0; sample < 40; ++sample) {
                QString text = sample % 2 == 0 ? QString() : QStringLiteral("-");
                for (int d = 0; d < digits; ++d) {
                    if (d == digits - decimals) text += u'.';
                    const int first = d == 0 && digits - decimals > 1 ? 1 : 0;
                    text += QChar(u'0' + first + int(random() % (10 - first)));
                }
                const float locale = ReadValue(text, formats);
                const float read = reader.Value(text);
                ASSERT_EQ(std::memcmp(&read, &locale, sizeof read), 0)
                    << text.toStdString() << ": " << read << " against " << locale;
                ++checked;
            }
        }
    }
    EXPECT_EQ(checked, 40 * 24 * 25 / 2);
}

}  // namespace
}  // namespace kr820::core
