// SPDX-License-Identifier: MIT
// Stores as users move them about: a log of another recording put beside a store, a copy of the
// file alone taken while it records, and stores on media nobody can write.
#include <gtest/gtest.h>
#include <sched.h>
#include <sqlite3.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>

#include "store/store_opening.h"
#include "store/store_reader.h"
#include "store/store_schema.h"
#include "store/store_writer.h"
#include "store/stored_recording.h"
#include "store_test_support.h"

namespace kr820::store {
namespace {

using testing::MadeUpHeader;
using testing::MadeUpReading;

QByteArray Bytes(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

void Put(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class StoreCopiesTest : public ::testing::Test {
protected:
    QString Path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

TEST_F(StoreCopiesTest, ALogOfAnotherRecordingBesideAStoreIsRefusedAndTheStoreLeftAsItIs) {
    const QString store = Path("finished.kr820");
    {
        auto writer = StoreWriter::Create(store, MadeUpHeader(), nullptr);
        for (qint64 i = 0; i < 300; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
        ASSERT_TRUE(writer->Finish(MadeUpReading(299).TimeMs + 1000));
    }
    // Another recording of five readings, its log as a writer killed then leaves it.
    const QString other = Path("other.kr820");
    StoreHeader otherHeader = MadeUpHeader();
    otherHeader.StartMs += 86'400'000;
    auto writer = StoreWriter::Create(other, otherHeader, nullptr);
    for (qint64 i = 0; i < 5; ++i) {
        StoredReading reading = MadeUpReading(i);
        reading.TimeMs = otherHeader.StartMs + i * 200;
        ASSERT_TRUE(writer->Append(reading));
    }
    const QByteArray otherLog = Bytes(other + QStringLiteral("-wal"));
    ASSERT_GT(otherLog.size(), 4096);
    writer.reset();

    const QByteArray file = Bytes(store);
    Put(store + QStringLiteral("-wal"), otherLog);
    QString error;
    EXPECT_FALSE(StoreReader::Open(store, &error));
    EXPECT_EQ(error, ForeignLogMessage(store));
    error.clear();
    EXPECT_FALSE(StoreWriter::Resume(store, &error));
    EXPECT_EQ(error, ForeignLogMessage(store));
    EXPECT_EQ(Bytes(store), file) << "the store was changed";
    EXPECT_EQ(Bytes(store + QStringLiteral("-wal")), otherLog);

    // With the log moved away the store reads as it was finished.
    QFile::remove(store + QStringLiteral("-wal"));
    QFile::remove(store + QStringLiteral("-shm"));
    auto reader = StoreReader::Open(store, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_EQ(reader->Count(), 300);
    EXPECT_EQ(reader->At(299), MadeUpReading(299));
    EXPECT_TRUE(reader->Notice().isEmpty()) << reader->Notice().toStdString();
}

TEST_F(StoreCopiesTest, ACopyOfTheFileAloneWhileRecordingMissesSecondsAtMostAndSaysSo) {
    const QString store = Path("recording.kr820");
    const QString copy = Path("copy.kr820");
    auto writer = StoreWriter::Create(store, MadeUpHeader(), nullptr);
    constexpr qint64 kCount = 1000;
    // Readings up to now, one a second, as a recording running when it is copied has them.
    const qint64 startMs = QDateTime::currentMSecsSinceEpoch() - kCount * 1000;
    const auto reading = [&](qint64 i) {
        StoredReading r = MadeUpReading(i);
        r.TimeMs = startMs + i * 1000;
        return r;
    };
    for (qint64 i = 0; i < kCount; ++i) ASSERT_TRUE(writer->Append(reading(i)));
    ASSERT_TRUE(QFile::copy(store, copy));

    QString error;
    auto reader = StoreReader::Open(copy, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    const qint64 behind = StoreWriter::kDurableEveryMs / 1000 + 1;
    EXPECT_GE(reader->Count(), kCount - behind);
    EXPECT_LE(reader->Count(), kCount);
    for (qint64 i = 0; i < reader->Count(); ++i) ASSERT_EQ(reader->At(i), reading(i)) << i;
    EXPECT_TRUE(reader->Notice().startsWith(
        QStringLiteral("%1 is incomplete: ").arg(QDir::toNativeSeparators(copy))))
        << reader->Notice().toStdString();
    EXPECT_TRUE(reader->Notice().contains(QStringLiteral("seconds missing")));

    // The store itself, read while its writer runs, is whole and says nothing.
    auto live = StoreReader::Open(store, &error);
    ASSERT_TRUE(live) << error.toStdString();
    EXPECT_EQ(live->Count(), kCount);
    EXPECT_TRUE(live->Notice().isEmpty()) << live->Notice().toStdString();
}

// Runs `check` in a child that sees `folder` read-only: a read-only bind mount where the system
// lets us make one (as root, whom file modes do not stop), or else the folder's modes. The
// child's exit status is `check`'s answer; 77 when the folder could not be made read-only.
int InReadOnlyFolder(const QString& folder, const std::function<int()>& check) {
    const QByteArray name = QFile::encodeName(folder);
    const bool root = geteuid() == 0;
    if (!root) chmod(name.constData(), 0555);
    const pid_t child = fork();
    if (child == 0) {
        if (root && (unshare(CLONE_NEWNS) != 0 ||
                     mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                     mount(name.constData(), name.constData(), nullptr, MS_BIND, nullptr) != 0 ||
                     mount(nullptr, name.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY,
                           nullptr) != 0)) {
            _exit(77);
        }
        // Make sure that it holds: a file made there would mean the test proves nothing.
        if (FILE* probe = fopen((name + "/probe").constData(), "w")) {
            fclose(probe);
            _exit(77);
        }
        _exit(check());
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!root) chmod(name.constData(), 0755);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 100;
}

TEST_F(StoreCopiesTest, StoresInAFolderNobodyCanWriteAreReadAndShown) {
    QDir(m_dir.path()).mkdir(QStringLiteral("stick"));
    const QString folder = m_dir.filePath(QStringLiteral("stick"));
    const QString finished = folder + QStringLiteral("/finished.kr820");
    const QString withLog = folder + QStringLiteral("/with-log.kr820");
    {
        auto writer = StoreWriter::Create(finished, MadeUpHeader(), nullptr);
        for (qint64 i = 0; i < 600; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
        ASSERT_TRUE(writer->Finish(MadeUpReading(599).TimeMs));
    }
    {
        // A recording copied with its log while it ran: the log cannot be read without a file
        // beside it that SQLite must make.
        auto writer = StoreWriter::Create(Path("running.kr820"), MadeUpHeader(), nullptr);
        for (qint64 i = 0; i < 300; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
        ASSERT_TRUE(QFile::copy(Path("running.kr820"), withLog));
        ASSERT_TRUE(QFile::copy(Path("running.kr820-wal"), withLog + QStringLiteral("-wal")));
    }
    const int answer = InReadOnlyFolder(folder, [&] {
        QString error;
        auto reader = StoreReader::Open(finished, &error);
        if (!reader) {
            fprintf(stderr, "%s\n", qPrintable(error));
            return 1;
        }
        if (reader->Count() != 600 || reader->At(599) != MadeUpReading(599)) return 2;
        if (!reader->Notice().isEmpty()) return 3;
        if (!reader->Draw(MadeUpReading(0).TimeMs, MadeUpReading(599).TimeMs, 100)) return 4;
        auto partial = StoreReader::Open(withLog, &error);
        if (!partial) {
            fprintf(stderr, "%s\n", qPrintable(error));
            return 5;
        }
        if (partial->Notice() != UnreadLogMessage(withLog)) return 6;
        return 0;
    });
    if (answer == 77) GTEST_SKIP() << "the folder cannot be made read-only here";
    EXPECT_EQ(answer, 0);
    EXPECT_FALSE(QFile::exists(finished + QStringLiteral("-wal")));
}

TEST_F(StoreCopiesTest, AStoppedStoreIsFollowedOnAndTakenUpAgainWhenResumed) {
    const QString store = Path("resumed.kr820");
    {
        auto writer = StoreWriter::Create(store, MadeUpHeader(), nullptr);
        for (qint64 i = 0; i < 14; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
        ASSERT_TRUE(writer->Finish(MadeUpReading(13).TimeMs));
    }
    QString error;
    auto recording = StoredRecording::Open(store, &error);
    ASSERT_TRUE(recording) << error.toStdString();
    recording->Follow(std::chrono::hours(1));  // polled by hand below
    EXPECT_TRUE(recording->Header().StoppedMs);
    int grown = 0;
    QObject::connect(recording.get(), &StoredRecording::grown, [&] { ++grown; });
    EXPECT_FALSE(recording->Refresh());
    EXPECT_TRUE(recording->Following());

    auto writer = StoreWriter::Resume(store, &error);
    ASSERT_TRUE(writer) << error.toStdString();
    for (qint64 i = 14; i < 38; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
    EXPECT_TRUE(recording->Refresh());
    EXPECT_EQ(grown, 1);
    EXPECT_EQ(recording->Count(), 38);
    EXPECT_FALSE(recording->Header().StoppedMs) << "the first run's stop is still shown";
    EXPECT_TRUE(recording->Following());
    // A reader opening it now finds it being recorded, from the file alone too.
    auto alone = SqliteDb::Open(store, SqliteDb::Mode::FileAlone, nullptr);
    ASSERT_TRUE(alone);
    const auto header = ReadHeader(*alone, store, nullptr);
    ASSERT_TRUE(header);
    EXPECT_FALSE(header->StoppedMs);
}

}  // namespace
}  // namespace kr820::store
