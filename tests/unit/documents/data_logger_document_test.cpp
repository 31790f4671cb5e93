// SPDX-License-Identifier: MIT
// The DataLogger document: only a whole decode (or the sets before a damaged one) replaces what
// it holds, the temporary store follows what is shown, and only a written save or the user's
// "No" ends its unsaved state.
#include "core/documents/data_logger_document.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <memory>

#include "core/files/temp_store.h"
#include "unit/data/memory_image_builder.h"

namespace kr820::core {
namespace {

using testing::ImageBuilder;
using testing::TestSet;

TestSet SetOf(int pairs) {
    TestSet set;
    for (int i = 0; i < pairs; ++i) set.pairs.push_back({250 + i, -40 - i});
    return set;
}

// How often `signal` of `document` was emitted since the counter was made.
template <typename Signal>
std::shared_ptr<int> Count(DataLoggerDocument& document, Signal signal) {
    auto count = std::make_shared<int>(0);
    QObject::connect(&document, signal, [count] { ++*count; });
    return count;
}

QByteArray FileBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class DataLoggerDocumentTest : public ::testing::Test {
protected:
    QTemporaryDir home;
    DataLoggerDocument document{home.path()};
    const QByteArray twoSets = ImageBuilder().Add(SetOf(3)).Add(SetOf(5)).Build();
};

TEST_F(DataLoggerDocumentTest, AWholeImageIsShownFromItsFirstSetAndStoredInTemp) {
    const auto replaced = Count(document, &DataLoggerDocument::contentReplaced);
    const auto outcome = document.Load(twoSets, QStringLiteral("/data/mem.820"));
    EXPECT_TRUE(outcome.Shown);
    EXPECT_EQ(*replaced, 1);
    EXPECT_EQ(document.Store().SetCount(), 2);
    EXPECT_EQ(document.ShownSet(), 0);
    EXPECT_EQ(document.SourcePath(), "/data/mem.820");
    EXPECT_EQ(FileBytes(TempStorePath(home.path())), twoSets);
    EXPECT_FALSE(document.Unsaved()) << "a download is unsaved only once its caller says so";
}

TEST_F(DataLoggerDocumentTest, ARefusedImageChangesNothingOnScreenOrOnDisk) {
    ASSERT_TRUE(document.Load(twoSets).Shown);
    document.MarkUnsaved();
    TestSet damaged = SetOf(2);
    damaged.start = {0x00, 0x00};
    const QByteArray bad = ImageBuilder().Add(SetOf(4)).Add(damaged).Build();

    const auto outcome = document.Load(bad);
    EXPECT_FALSE(outcome.Shown);
    EXPECT_EQ(outcome.Parse.Code, ParseCode::DamagedRecord);
    EXPECT_EQ(document.Image(), twoSets);
    EXPECT_EQ(document.Store().SetCount(), 2);
    EXPECT_TRUE(document.Unsaved());
    EXPECT_EQ(FileBytes(TempStorePath(home.path())), twoSets);

    // The sets before the damage are shown; the image is kept whole for a save.
    const auto recovered = document.LoadSetsBeforeDamage(bad, outcome.Parse);
    EXPECT_TRUE(recovered.Shown);
    EXPECT_EQ(recovered.RecoveredSets, 1);
    EXPECT_EQ(document.Store().SetCount(), 1);
    EXPECT_EQ(document.Image(), bad);
}

TEST_F(DataLoggerDocumentTest, WithoutTheTempFolderNothingIsShown) {
    // A file where the folder should be: it cannot be made.
    QFile blocker(TempStoreFolder(home.path()));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto outcome = document.Load(twoSets);
    EXPECT_FALSE(outcome.Shown);
    EXPECT_EQ(outcome.FolderNotCreated, TempStoreFolder(home.path()));
    EXPECT_FALSE(document.HasImage());
}

TEST_F(DataLoggerDocumentTest, OnlyAWrittenSaveOrTheUsersNoEndsTheUnsavedState) {
    const auto unsaved = Count(document, &DataLoggerDocument::unsavedChanged);
    document.MarkUnsaved();
    EXPECT_FALSE(document.Unsaved()) << "nothing held, nothing to lose";
    ASSERT_TRUE(document.Load(twoSets).Shown);
    document.MarkUnsaved();
    EXPECT_TRUE(document.Unsaved());

    const QString nowhere = home.filePath(QStringLiteral("missing/mem.820"));
    EXPECT_FALSE(document.SaveCollection(nowhere).Written());
    EXPECT_TRUE(document.Unsaved());

    const QString path = home.filePath(QStringLiteral("mem.820"));
    EXPECT_TRUE(document.SaveCollection(path).Written());
    EXPECT_FALSE(document.Unsaved());
    EXPECT_EQ(FileBytes(path), twoSets);

    document.MarkUnsaved();
    document.MarkDiscarded();
    EXPECT_FALSE(document.Unsaved());
    EXPECT_EQ(*unsaved, 4);
}

TEST_F(DataLoggerDocumentTest, ShowingASetOutsideTheStoreIsIgnored) {
    ASSERT_TRUE(document.Load(twoSets).Shown);
    const auto shown = Count(document, &DataLoggerDocument::shownSetChanged);
    document.ShowSet(1);
    document.ShowSet(2);
    document.ShowSet(-1);
    EXPECT_EQ(document.ShownSet(), 1);
    EXPECT_EQ(*shown, 1);
}

}  // namespace
}  // namespace kr820::core
