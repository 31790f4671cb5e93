// SPDX-License-Identifier: MIT
// A text file as Open reads it: the first byte picks the separator and the regional settings
// (a decimal point, or a decimal comma with day-first dates), the rest is the file.
#include <QLocale>

#include "core/chart/chart_data.h"
#include "core/files/text_file_reader.h"
#include "fuzz_support.h"

using namespace kr820;

namespace {

const core::RegionalFormats& Formats(bool decimalComma) {
    static const QDate today(2024, 3, 14);
    static const core::RegionalFormats point =
        core::RegionalFormats::FromLocale(QLocale(QLocale::English, QLocale::UnitedStates), today);
    static const core::RegionalFormats comma =
        core::RegionalFormats::FromLocale(QLocale(QLocale::German, QLocale::Germany), today);
    return decimalComma ? comma : point;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const fuzz::ScratchFile scratch(".txt");
    if (size == 0) return 0;
    const auto separator = (data[0] & 1) ? core::TextSeparator::Comma : core::TextSeparator::Tab;
    const core::RegionalFormats& formats = Formats(data[0] & 2);
    const QString& path = scratch.Write(data + 1, size - 1);

    const core::TextReadOutcome read = core::ReadTextFile(path, separator, formats);
    // Bytes of which no line reads as a point are refused, and say why.
    if (read.Status == core::TextReadStatus::NoPoints) {
        KR820_FUZZ_CHECK(!read.Reason.isEmpty() && read.Content.T1.empty());
        return 0;
    }
    KR820_FUZZ_CHECK(read.Status == core::TextReadStatus::Read);
    const core::TextFileContent& content = read.Content;
    KR820_FUZZ_CHECK(content.Points >= core::kMinTextFilePoints &&
                     content.Points <= core::ChartData::kMaxPoints);
    KR820_FUZZ_CHECK(content.T1.size() == content.T2.size());
    KR820_FUZZ_CHECK(qsizetype(content.T1.size()) <= content.Points);
    KR820_FUZZ_CHECK(qsizetype(content.X.size()) <= content.Points);
    KR820_FUZZ_CHECK(content.MinX <= content.MaxX);

    core::ChartData chart;
    chart.SetSubsets(2);
    chart.SetPoints(content.Points);
    core::LayTextFileOntoChart(content, chart);
    return 0;
}
