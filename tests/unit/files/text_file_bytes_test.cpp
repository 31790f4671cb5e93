// SPDX-License-Identifier: MIT
// Text files stay byte for byte what earlier versions of the program wrote: one varied recording
// under regional settings that differ in digits, separators, minus signs, date order and clocks,
// against files kept in tests/fixtures/text_files, and read back into the same points.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "core/chart/chart_data.h"
#include "core/data/limit_values.h"
#include "core/files/text_fields.h"
#include "core/files/text_file_reader.h"
#include "core/files/text_file_writer.h"
#include "file_test_support.h"

namespace kr820::core {
namespace {

struct Point {
    TDateTime x;
    float t1, t2;
};

TDateTime At(int y, int mo, int d, int h, int mi, int s) {
    return WallClockDateTime(QDate(y, mo, d), QTime(h, mi, s));
}

// Noon and midnight crossed, a new year, two-digit years on both sides of 2000, an hour
// that summer time skips, times a fraction of a second off, and values that round, carry a sign,
// need a group separator nobody wants, or lie beyond the limits.
std::vector<Point> Recording() {
    std::vector<Point> points;
    const float values[] = {23.5f,   -10.0f, 0.05f,  -0.04f,  0.25f,   1234.5f, 2999.95f,
                            3000.0f, 3000.1f, -200.0f, -3000.0f, 12.34f, -7.75f,  100.0f};
    const auto add = [&](TDateTime x) {
        const size_t i = points.size();
        const size_t n = std::size(values);
        const float t2 = i % 5 == 0 ? OverLimitValue : (i % 7 == 0 ? UnderLimitValue : values[(i * 3) % n]);
        points.push_back({x, values[i % n], t2});
    };
    for (int s = 0; s < 12; ++s) add(At(2025, 12, 31, 11, 59, 30) + 5 * s * kOneSecond);
    for (int s = 0; s < 6; ++s) add(At(2025, 12, 31, 23, 59, 50) + 3 * s * kOneSecond);
    add(At(2026, 3, 29, 2, 30, 0));
    add(At(2026, 3, 29, 3, 0, 1));
    add(At(1999, 1, 2, 3, 4, 5));
    add(At(2075, 12, 31, 13, 14, 15));
    add(At(2026, 6, 15, 9, 8, 7) + 0.6 * kOneSecond);
    add(At(2026, 6, 15, 23, 59, 59) + 0.6 * kOneSecond);
    add(At(2026, 7, 1, 0, 0, 0) - 0.4 * kOneSecond);
    return points;
}

ChartData RecordingChart() {
    const std::vector<Point> points = Recording();
    ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(int(points.size()) + 2);  // the last two stay empty and end the file
    for (int p = 0; p < int(points.size()); ++p) {
        chart.SetXDataII(0, p, points[p].x);
        chart.SetYData(0, p, points[p].t1);
        chart.SetYData(1, p, points[p].t2);
    }
    return chart;
}

struct Case {
    const char* locale;
    TextSeparator separator;
};

QString FixtureName(const Case& c) {
    return QStringLiteral("%1.%2").arg(QLatin1String(c.locale),
                                       c.separator == TextSeparator::Tab ? "txt" : "csv");
}

class TextFileBytes : public testing::ScratchFolder, public ::testing::WithParamInterface<Case> {
protected:
    RegionalFormats Formats() const {
        return RegionalFormats::FromLocale(QLocale(GetParam().locale), QDate(2026, 6, 15));
    }
};

TEST_P(TextFileBytes, AreWhatEarlierVersionsWroteAndReadBackIntoThePoints) {
    const ChartData chart = RecordingChart();
    const QString path = PathOf(FixtureName(GetParam()));
    const TextWriteOutcome written = WriteTextFile(chart, path, GetParam().separator,
                                                   AllPoints(chart.Points()), Formats());
    ASSERT_TRUE(written.File.Written());
    const QByteArray expected =
        testing::ReadWhole(QStringLiteral(KR820_FIXTURES "/text_files/") + FixtureName(GetParam()));
    ASSERT_FALSE(expected.isEmpty());
    EXPECT_EQ(testing::ReadWhole(path), expected);

    const TextFileContent read = ReadTextFile(path, GetParam().separator, Formats()).Content;
    const std::vector<Point> points = Recording();
    ASSERT_EQ(read.T1.size(), points.size());
    ASSERT_EQ(read.X.size(), points.size());
    const auto shown = [](float value) {
        return IsShownAsOL(value) ? OverLimitValue : float(std::round(double(value) * 10.0) / 10.0);
    };
    for (size_t p = 0; p < points.size(); ++p) {
        SCOPED_TRACE(p);
        EXPECT_NEAR(read.X[p], points[p].x, 0.5 * kOneSecond);
        EXPECT_NEAR(read.T1[p], shown(points[p].t1), 0.051f);
        EXPECT_NEAR(read.T2[p], shown(points[p].t2), 0.051f);
    }
}

// en_US: decimal point, month first, AM/PM after the time. de_DE: decimal comma, day first.
// sv_SE: U+2212 for minus. fr_FR: a space between digit groups. ko_KR: AM/PM before the time.
// ar_EG: Arabic digits and separators.
INSTANTIATE_TEST_SUITE_P(
    Locales, TextFileBytes,
    ::testing::Values(Case{"en_US", TextSeparator::Tab}, Case{"en_US", TextSeparator::Comma},
                      Case{"de_DE", TextSeparator::Tab}, Case{"sv_SE", TextSeparator::Tab},
                      Case{"fr_FR", TextSeparator::Tab}, Case{"ko_KR", TextSeparator::Tab},
                      Case{"ko_KR", TextSeparator::Comma}, Case{"ar_EG", TextSeparator::Tab}),
    [](const auto& info) {
        return QString(FixtureName(info.param)).replace('.', '_').toStdString();
    });

}  // namespace
}  // namespace kr820::core
