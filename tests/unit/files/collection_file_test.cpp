// SPDX-License-Identifier: MIT
// Collection files and the temporary store: the memory image byte for byte, and damaged or
// missing files that must change nothing.
#include "core/files/collection_file.h"

#include <gtest/gtest.h>

#include "core/data/data_set_store.h"
#include "core/files/temp_store.h"
#include "file_test_support.h"
#include "unit/data/memory_image_builder.h"

namespace kr820::core {
namespace {

using testing::FileSizeLimit;
using testing::ImageBuilder;
using testing::ReadWhole;
using testing::Stamp;
using testing::TestSet;
using testing::WriteWhole;

TDateTime Now() { return ToTDateTime(QDateTime(QDate(2031, 1, 2), QTime(3, 4, 5))); }

TestSet Set(int yy, int t1) {
    return {.when = Stamp(yy, 5, 17, 10, 0, 0), .pairs = {{t1, t1 + 1}, {t1 + 2, t1 + 3}}};
}

QByteArray TwoSets() { return ImageBuilder().Add(Set(24, 235)).Add(Set(25, -100)).Build(); }

TDataSetStore Decoded(const QByteArray& image) {
    TDataSetStore store;
    EXPECT_EQ(ParseMemoryImage(image, store, Now()).Code, ParseCode::Success);
    return store;
}

class CollectionFile : public testing::ScratchFolder {
protected:
    // Opens `bytes` as a collection file over a store that holds other sets, and checks that a
    // refusal leaves that store as it was.
    CollectionOpenOutcome OpenRefused(const QByteArray& bytes) {
        const QString path = PathOf("refused.820");
        WriteWhole(path, bytes);
        TDataSetStore store = Decoded(ImageBuilder().Add(Set(20, 500)).Build());
        const TDataSetStore before = store;
        const CollectionOpenOutcome outcome = OpenCollection(path, store, Now());
        EXPECT_NE(outcome.Status, CollectionOpenStatus::Opened);
        EXPECT_EQ(store, before);
        return outcome;
    }
};

TEST_F(CollectionFile, SavedImageOpensToTheSameSetsAndSavesBackIdentically) {
    const QByteArray image = TwoSets();
    const QString first = PathOf("logger.820");
    ASSERT_TRUE(SaveCollection(image, first).Written());
    EXPECT_EQ(ReadWhole(first), image);

    TDataSetStore store;
    const CollectionOpenOutcome opened = OpenCollection(first, store, Now());
    ASSERT_EQ(opened.Status, CollectionOpenStatus::Opened);
    EXPECT_EQ(store, Decoded(image));
    EXPECT_EQ(store.SetCount(), 2);

    const QString second = PathOf("again.820");
    ASSERT_TRUE(SaveCollection(opened.Image, second).Written());
    EXPECT_EQ(ReadWhole(second), image);
}

TEST_F(CollectionFile, NothingShownMeansNothingToSaveAndNoFile) {
    const QString path = PathOf("nothing.820");
    EXPECT_EQ(SaveCollection(QByteArrayView(), path).Status, WriteStatus::NothingToSave);
    EXPECT_FALSE(QFile::exists(path));
}

TEST_F(CollectionFile, ADamagedRecordIsRefusedButTheSetsBeforeItCanBeRecovered) {
    TestSet broken = Set(25, 300);
    broken.start = {0x00, 0x00};
    const QByteArray image = ImageBuilder().Add(Set(24, 235)).Add(broken).Add(Set(26, 1)).Build();

    const CollectionOpenOutcome outcome = OpenRefused(image);
    EXPECT_EQ(outcome.Status, CollectionOpenStatus::Damaged);
    EXPECT_EQ(outcome.Parse.Code, ParseCode::DamagedRecord);
    EXPECT_EQ(outcome.Parse.ErrorSet, 1);

    TDataSetStore recovered;
    EXPECT_EQ(RecoverSetsBeforeDamage(outcome.Image, outcome.Parse, recovered, Now()), 1);
    EXPECT_EQ(recovered, Decoded(ImageBuilder().Add(Set(24, 235)).Build()));
}

TEST_F(CollectionFile, BadCountsShortFilesAndRecordsPastTheEndAreRefused) {
    EXPECT_EQ(OpenRefused(ImageBuilder().CountText("0").Build()).Parse.Code, ParseCode::NoDataSets);
    EXPECT_EQ(OpenRefused(ImageBuilder().Add(Set(24, 1)).CountText("FA1").Build()).Parse.Code,
              ParseCode::BadSetCount);

    const QByteArray image = TwoSets();
    for (const QByteArray& cut :
         {image.left(100), image.left(256), image.left(image.size() - 40)}) {
        const CollectionOpenOutcome outcome = OpenRefused(cut);
        EXPECT_EQ(outcome.Status, CollectionOpenStatus::Damaged) << cut.size();
        EXPECT_EQ(outcome.Parse.Code, ParseCode::DamagedRecord) << cut.size();
    }
}

TEST_F(CollectionFile, MissingEmptyAndOversizedFilesAreNotDecoded) {
    TDataSetStore store;
    const CollectionOpenOutcome missing = OpenCollection(PathOf("absent.820"), store, Now());
    EXPECT_EQ(missing.Status, CollectionOpenStatus::CannotOpen);
    EXPECT_FALSE(missing.Reason.isEmpty());

    EXPECT_EQ(OpenRefused(QByteArray()).Status, CollectionOpenStatus::Empty);
    const QByteArray oversized = TwoSets() + QByteArray(kMaxCollectionFileBytes, '\0');
    EXPECT_EQ(OpenRefused(oversized).Status, CollectionOpenStatus::TooLarge);
}

class TempStore : public testing::ScratchFolder {};

TEST_F(TempStore, IsWrittenUnderTempInTheProgramFolderMakingTheFolder) {
    EXPECT_EQ(TempStorePath(Folder()), Folder() + "/temp/DataSetsTemp.tmp");
    const QByteArray first = TwoSets();
    ASSERT_TRUE(WriteTempStore(first, Folder()).Written());
    EXPECT_EQ(ReadWhole(TempStorePath(Folder())), first);

    const QByteArray second = ImageBuilder().Add(Set(26, 7)).Build();
    ASSERT_TRUE(WriteTempStore(second, Folder()).Written());
    EXPECT_EQ(ReadWhole(TempStorePath(Folder())), second);
}

TEST_F(TempStore, AFailedWriteKeepsTheEarlierImageWhole) {
    const QByteArray earlier = TwoSets();
    ASSERT_TRUE(WriteTempStore(earlier, Folder()).Written());
    TestSet large = Set(26, 1);
    large.pairs.assign(8000, {215, 230});
    const QByteArray image = ImageBuilder().Add(large).Build();

    WriteOutcome outcome;
    {
        const FileSizeLimit limit(16 * 1024);
        outcome = WriteTempStore(image, Folder());
    }
    EXPECT_EQ(outcome.Status, WriteStatus::WriteFailed);
    EXPECT_EQ(ReadWhole(TempStorePath(Folder())), earlier);
    EXPECT_EQ(QDir(TempStoreFolder(Folder())).entryList(QDir::Files),
              QStringList{"DataSetsTemp.tmp"});
}

TEST_F(TempStore, AFolderThatCannotBeMadeIsReportedByItsPath) {
    WriteWhole(PathOf("temp"), "a file where the folder belongs");
    const WriteOutcome outcome = WriteTempStore(TwoSets(), Folder());
    EXPECT_EQ(outcome.Status, WriteStatus::FolderNotCreated);
    EXPECT_EQ(outcome.Reason, QDir::toNativeSeparators(PathOf("temp")));
}

}  // namespace
}  // namespace kr820::core
