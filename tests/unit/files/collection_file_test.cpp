// SPDX-License-Identifier: MIT
// Collection files and the temporary store: the memory image byte for byte, and damaged or
// missing files that change nothing.
#include "core/files/collection_file.h"

#include <gtest/gtest.h>

#include "core/data/data_set_store.h"
#include "core/files/temp_store.h"
#include "file_test_support.h"
#include "unit/data/memory_image_builder.h"

namespace kr820::core {
namespace {

using testing::ImageBuilder;
using testing::ReadWhole;

TDateTime Now() { return ToTDateTime(QDateTime(QDate(2031, 1, 2), QTime(3, 4, 5))); }

testing::TestSet Set(int yy, int t1) {
    return {.when = testing::Stamp(yy, 5, 17, 10, 0, 0), .pairs = {{t1, t1 + 1}, {t1 + 2, 9}}};
}

QByteArray TwoSets() { return ImageBuilder().Add(Set(24, 235)).Add(Set(25, -100)).Build(); }

TDataSetStore Decoded(const QByteArray& image) {
    TDataSetStore store;
    EXPECT_EQ(ParseMemoryImage(image, store, Now()).Code, ParseCode::Success);
    return store;
}

class CollectionFile : public testing::ScratchFolder {
protected:
    // Opens `bytes` over a store holding other sets; a refusal must leave that store as it was.
    CollectionOpenOutcome OpenRefused(const QByteArray& bytes) {
        testing::WriteWhole(PathOf("bad.820"), bytes);
        TDataSetStore store = Decoded(ImageBuilder().Add(Set(20, 500)).Build());
        const TDataSetStore before = store;
        const CollectionOpenOutcome outcome = OpenCollection(PathOf("bad.820"), store, Now());
        EXPECT_NE(outcome.Status, CollectionOpenStatus::Opened);
        EXPECT_EQ(store, before);
        return outcome;
    }
};

TEST_F(CollectionFile, SavedImageOpensToTheSameSetsAndSavesBackIdentically) {
    const QByteArray image = TwoSets();
    ASSERT_TRUE(SaveCollection(image, PathOf("a.820")).Written());
    EXPECT_EQ(ReadWhole(PathOf("a.820")), image);

    TDataSetStore store;
    const CollectionOpenOutcome opened = OpenCollection(PathOf("a.820"), store, Now());
    ASSERT_EQ(opened.Status, CollectionOpenStatus::Opened);
    EXPECT_EQ(store, Decoded(image));
    ASSERT_TRUE(SaveCollection(opened.Image, PathOf("b.820")).Written());
    EXPECT_EQ(ReadWhole(PathOf("b.820")), image);

    EXPECT_EQ(SaveCollection({}, PathOf("c.820")).Status, WriteStatus::NothingToSave);
    EXPECT_FALSE(QFile::exists(PathOf("c.820")));
}

TEST_F(CollectionFile, ADamagedRecordIsRefusedButTheSetsBeforeItCanBeRecovered) {
    testing::TestSet broken = Set(25, 300);
    broken.start = {0x00, 0x00};
    const CollectionOpenOutcome outcome =
        OpenRefused(ImageBuilder().Add(Set(24, 235)).Add(broken).Add(Set(26, 1)).Build());
    EXPECT_EQ(outcome.Status, CollectionOpenStatus::Damaged);
    EXPECT_EQ(outcome.Parse.ErrorSet, 1);

    TDataSetStore recovered;
    EXPECT_EQ(RecoverSetsBeforeDamage(outcome.Image, outcome.Parse, recovered, Now()), 1);
    EXPECT_EQ(recovered, Decoded(ImageBuilder().Add(Set(24, 235)).Build()));
}

TEST_F(CollectionFile, BadCountsCutFilesEmptyOrOversizedOnesAreRefused) {
    EXPECT_EQ(OpenRefused(ImageBuilder().CountText("0").Build()).Parse.Code, ParseCode::NoDataSets);
    EXPECT_EQ(OpenRefused(ImageBuilder().Add(Set(24, 1)).CountText("FA1").Build()).Parse.Code,
              ParseCode::BadSetCount);
    const QByteArray image = TwoSets();
    for (const qsizetype size : {qsizetype(100), qsizetype(256), image.size() - 40}) {
        EXPECT_EQ(OpenRefused(image.left(size)).Parse.Code, ParseCode::DamagedRecord) << size;
    }
    EXPECT_EQ(OpenRefused({}).Status, CollectionOpenStatus::Empty);
    EXPECT_EQ(OpenRefused(image + QByteArray(kMaxCollectionFileBytes, '\0')).Status,
              CollectionOpenStatus::TooLarge);
    TDataSetStore store;
    EXPECT_EQ(OpenCollection(PathOf("absent.820"), store).Status, CollectionOpenStatus::CannotOpen);
}

class TempStore : public testing::ScratchFolder {};

TEST_F(TempStore, IsReplacedWholeOrNotAtAll) {
    EXPECT_EQ(TempStorePath(Folder()), Folder() + "/temp/DataSetsTemp.tmp");
    ASSERT_TRUE(WriteTempStore(ImageBuilder().Add(Set(26, 7)).Build(), Folder()).Written());
    const QByteArray earlier = TwoSets();
    ASSERT_TRUE(WriteTempStore(earlier, Folder()).Written());
    EXPECT_EQ(ReadWhole(TempStorePath(Folder())), earlier);

    testing::TestSet large = Set(26, 1);
    large.pairs.assign(8000, {215, 230});
    WriteOutcome outcome;
    {
        const testing::FileSizeLimit limit(16 * 1024);
        outcome = WriteTempStore(ImageBuilder().Add(large).Build(), Folder());
    }
    EXPECT_EQ(outcome.Status, WriteStatus::WriteFailed);
    EXPECT_EQ(ReadWhole(TempStorePath(Folder())), earlier);
    EXPECT_EQ(QDir(TempStoreFolder(Folder())).entryList(QDir::Files),
              QStringList{"DataSetsTemp.tmp"});
}

TEST_F(TempStore, AFolderThatCannotBeMadeIsReportedByItsPath) {
    testing::WriteWhole(PathOf("temp"), "a file where the folder belongs");
    const WriteOutcome outcome = WriteTempStore(TwoSets(), Folder());
    EXPECT_EQ(outcome.Status, WriteStatus::FolderNotCreated);
    EXPECT_EQ(outcome.Reason, QDir::toNativeSeparators(PathOf("temp")));
}

}  // namespace
}  // namespace kr820::core
