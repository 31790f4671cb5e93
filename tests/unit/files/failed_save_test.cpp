// SPDX-License-Identifier: MIT
// Saves that cannot be written whole: a file that fits Qt's write buffer and hits a limit on its
// last write must fail, say why, and leave the earlier file byte for byte, for every kind of file.
#include <gtest/gtest.h>

#include <QDir>
#include <cerrno>

#include "core/chart/chart_model.h"
#include "core/files/collection_file.h"
#include "core/files/graph_file.h"
#include "core/files/save_file.h"
#include "core/files/temp_store.h"
#include "core/files/text_file_writer.h"
#include "file_test_support.h"
#include "unit/data/memory_image_builder.h"

namespace kr820::core {
namespace {

using testing::ReadWhole;

// Below the 16 KiB Qt buffers in one go, above the 8 KiB the limit lets through.
constexpr rlim_t kLimitBytes = 8 * 1024;
constexpr int kPoints = 400;  // about 12 KiB as text, 8.4 KiB and more as a graph file

void FillTwelveKilobytes(ChartModel& chart) {
    chart.Data().SetSubsets(2);
    chart.Data().SetPoints(kPoints);
    for (int p = 0; p < kPoints; ++p) {
        chart.Data().SetXDataII(0, p, 46000.5 + p * kOneSecond);
        chart.Data().SetXDataII(1, p, 46000.5 + p * kOneSecond);
        chart.Data().SetYData(0, p, 21.5f);
        chart.Data().SetYData(1, p, -3.5f);
    }
}

class FailedSave : public testing::ScratchFolder {
protected:
    // Writes `earlier` at `path`, then runs `save` under the limit; the save must fail and the
    // earlier bytes must be all the folder holds at that name.
    void ExpectRefusedKeepingEarlier(const QString& path,
                                     const std::function<WriteOutcome()>& save) {
        const QByteArray earlier = "earlier content\r\n";
        QDir().mkpath(QFileInfo(path).path());
        testing::WriteWhole(path, earlier);
        const QStringList filesBefore = QDir(QFileInfo(path).path()).entryList(QDir::Files);
        WriteOutcome outcome;
        {
            const testing::FileSizeLimit limit(kLimitBytes);
            outcome = save();
        }
        EXPECT_EQ(outcome.Status, WriteStatus::WriteFailed) << qPrintable(path);
        EXPECT_EQ(outcome.Reason, qt_error_string(EFBIG)) << qPrintable(path);
        EXPECT_EQ(ReadWhole(path), earlier) << qPrintable(path);
        EXPECT_EQ(QDir(QFileInfo(path).path()).entryList(QDir::Files), filesBefore);
    }
};

TEST_F(FailedSave, EveryKindOfFileKeepsTheEarlierOneAndSaysWhy) {
    ChartModel chart;
    FillTwelveKilobytes(chart);
    const RegionalFormats formats =
        RegionalFormats::FromLocale(QLocale("en_US"), QDate(2026, 1, 1));
    for (const auto& [name, separator] :
         {std::pair{"a.txt", TextSeparator::Tab}, std::pair{"a.csv", TextSeparator::Comma}}) {
        ExpectRefusedKeepingEarlier(PathOf(name), [&, separator = separator, name = name] {
            return WriteTextFile(chart.Data(), PathOf(name), separator, AllPoints(kPoints), formats)
                .File;
        });
    }
    ASSERT_GT(chart.SaveToBlock().size(), qsizetype{kLimitBytes});
    ExpectRefusedKeepingEarlier(PathOf("a.ghf"),
                                [&] { return WriteGraphFile(chart, PathOf("a.ghf")); });

    testing::TestSet set{.when = testing::Stamp(26, 5, 17, 10, 0, 0), .pairs = {}};
    set.pairs.assign(2500, {215, 230});
    const QByteArray image = testing::ImageBuilder().Add(set).Build();
    ASSERT_GT(image.size(), qsizetype{kLimitBytes});
    ASSERT_LT(image.size(), 16 * 1024);
    ExpectRefusedKeepingEarlier(PathOf("a.820"),
                                [&] { return SaveCollection(image, PathOf("a.820")); });
    ExpectRefusedKeepingEarlier(TempStorePath(Folder()),
                                [&] { return WriteTempStore(image, Folder()); });
}

TEST_F(FailedSave, AFullDiskIsNamedAsSuch) {
    EXPECT_EQ(WriteFailureReason(ENOSPC), QStringLiteral("the disk is full"));
    EXPECT_EQ(WriteFailureReason(EACCES), qt_error_string(EACCES));
}

TEST_F(FailedSave, AWriterThatGivesUpCancelsTheSave) {
    testing::WriteWhole(PathOf("a.bin"), "kept");
    const WriteOutcome outcome = WriteThroughSaveFile(
        PathOf("a.bin"), [](QIODevice& file) { return WriteAll(file, "half") && false; });
    EXPECT_EQ(outcome.Status, WriteStatus::WriteFailed);
    EXPECT_EQ(ReadWhole(PathOf("a.bin")), "kept");
}

}  // namespace
}  // namespace kr820::core
