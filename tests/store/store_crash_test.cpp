// SPDX-License-Identifier: MIT
// What a store keeps when things go wrong: a writer killed in mid-append, a log torn at its end,
// the disk full in mid-recording, and stores this version must not read.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QFile>
#include <QTemporaryDir>
#include <csignal>

#include "store/store_reader.h"
#include "store/store_schema.h"
#include "store/store_writer.h"
#include "store_test_support.h"

namespace kr820::store {
namespace {

using testing::MadeUpHeader;
using testing::MadeUpReading;

class StoreCrashTest : public ::testing::Test {
protected:
    QString Path(const char* name = "recording.kr820") const {
        return m_dir.filePath(QString::fromLatin1(name));
    }
    QTemporaryDir m_dir;
};

// Every reading of the store is the made-up one of its number.
void ExpectMadeUpReadings(const QString& path, qint64 atLeast) {
    QString error;
    auto reader = StoreReader::Open(path, &error);
    ASSERT_TRUE(reader) << error.toStdString();
    EXPECT_FALSE(reader->Damaged()) << reader->Notice().toStdString();
    EXPECT_GE(reader->Count(), atLeast);
    EXPECT_TRUE(reader->ForEach(0, reader->Count(), [](qint64 i, const StoredReading& reading) {
        EXPECT_EQ(reading, MadeUpReading(i)) << i;
        return !::testing::Test::HasFailure();
    })) << reader->Failure().toStdString();
}

// A child that appends made-up readings for ever, telling the parent the number of each one
// once Append has returned.
pid_t SpawnAppender(const QString& path, int ackFd, bool resume) {
    const pid_t pid = fork();
    if (pid != 0) return pid;
    QString error;
    auto writer = resume ? StoreWriter::Resume(path, &error)
                         : StoreWriter::Create(path, MadeUpHeader(), &error);
    if (!writer) _exit(2);
    for (qint64 i = writer->Count();; ++i) {
        if (!writer->Append(MadeUpReading(i))) _exit(3);
        const qint64 appended = i + 1;
        if (write(ackFd, &appended, sizeof appended) != sizeof appended) _exit(4);
    }
}

// Waits for `count` acknowledgements, kills the child with SIGKILL and gives the last number
// acknowledged before it died.
qint64 KillAfter(pid_t child, int readFd, qint64 count) {
    qint64 last = 0;
    while (last < count && read(readFd, &last, sizeof last) == sizeof last) {
    }
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    qint64 more = 0;
    while (read(readFd, &more, sizeof more) == sizeof more) last = more;
    return last;
}

TEST_F(StoreCrashTest, AWriterKilledInMidAppendLosesNothingAppended) {
    qint64 acknowledged = 0;
    for (int round = 0; round < 3; ++round) {
        int fds[2];
        ASSERT_EQ(pipe(fds), 0);
        const pid_t child = SpawnAppender(Path(), fds[1], round > 0);
        close(fds[1]);
        const qint64 last = KillAfter(child, fds[0], acknowledged + 700 + 311 * round);
        close(fds[0]);
        ASSERT_GT(last, acknowledged) << "the child appended nothing in round " << round;
        acknowledged = last;
        ExpectMadeUpReadings(Path(), acknowledged);
        if (HasFailure()) return;
    }
}

TEST_F(StoreCrashTest, AStoreTornAtTheEndOfItsLogKeepsWhatCameBefore) {
    QString error;
    auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
    // A reader in the middle of a read holds the writer's checkpoints back: the readings stay in
    // the log, not yet folded into the file.
    sqlite3* held = nullptr;
    ASSERT_EQ(sqlite3_open_v2(Path().toUtf8().constData(), &held, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(held, "BEGIN; SELECT count(*) FROM blocks", nullptr, nullptr, nullptr),
              SQLITE_OK);
    for (qint64 i = 0; i < 300; ++i) ASSERT_TRUE(writer->Append(MadeUpReading(i)));
    // The files as a killed writer leaves them.
    const QByteArray file = [&] {
        QFile f(Path());
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    const QByteArray log = [&] {
        QFile f(Path() + QStringLiteral("-wal"));
        f.open(QIODevice::ReadOnly);
        return f.readAll();
    }();
    ASSERT_GT(log.size(), 100'000);
    sqlite3_close(held);
    writer.reset();

    const auto copy = [&](const QByteArray& logBytes) {
        const QString path = Path("torn.kr820");
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        QFile f(path), l(path + QStringLiteral("-wal"));
        f.open(QIODevice::WriteOnly);
        f.write(file);
        l.open(QIODevice::WriteOnly);
        l.write(logBytes);
        return path;
    };
    ExpectMadeUpReadings(copy(log), 300);
    qint64 previous = 300;
    for (qint64 cut : {1, 100, 4000, 4200, 9000, 50'000}) {
        SCOPED_TRACE(cut);
        const QString path = copy(log.left(log.size() - cut));
        auto reader = StoreReader::Open(path, &error);
        ASSERT_TRUE(reader) << error.toStdString();
        EXPECT_LE(reader->Count(), previous);
        EXPECT_GT(reader->Count(), 0);
        previous = reader->Count();
        reader.reset();
        ExpectMadeUpReadings(path, previous);
    }
    // Garbage after the last whole commit, as a torn write of a page can leave it.
    ExpectMadeUpReadings(copy(log + QByteArray(5000, '\x5a')), 300);
}

TEST_F(StoreCrashTest, TheDiskFullInMidRecordingFailsTheAppendAndKeepsEverythingBefore) {
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    const pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        // The file size limit stands for a full disk: writing past it fails with EFBIG.
        signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{256 * 1024, 256 * 1024};
        setrlimit(RLIMIT_FSIZE, &limit);
        QString error;
        auto writer = StoreWriter::Create(Path(), MadeUpHeader(), &error);
        if (!writer) _exit(2);
        qint64 i = 0;
        while (writer->Append(MadeUpReading(i))) ++i;
        const bool refusesMore = !writer->Append(MadeUpReading(i)) && !writer->AppendMany({});
        const QByteArray reason = writer->FailureReason().toUtf8();
        const qint64 report[2] = {i, refusesMore};
        if (write(fds[1], report, sizeof report) != sizeof report) _exit(4);
        if (write(fds[1], reason.constData(), size_t(reason.size())) < 0) _exit(4);
        _exit(0);
    }
    close(fds[1]);
    qint64 report[2] = {0, 0};
    ASSERT_EQ(read(fds[0], report, sizeof report), ssize_t(sizeof report));
    QByteArray reason(1000, '\0');
    reason.resize(std::max<ssize_t>(0, read(fds[0], reason.data(), size_t(reason.size()))));
    close(fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << status;

    const qint64 appended = report[0];
    EXPECT_GT(appended, 10);
    EXPECT_TRUE(report[1]) << "the writer went on after the failure";
    EXPECT_TRUE(reason.startsWith("The recording could not be written to ")) << reason.data();
    ExpectMadeUpReadings(Path(), appended);
    auto reader = StoreReader::Open(Path(), nullptr);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Count(), appended);
}

void Execute(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.toUtf8().constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, sql, nullptr, nullptr, nullptr), SQLITE_OK) << sqlite3_errmsg(db);
    sqlite3_close(db);
}

TEST_F(StoreCrashTest, AStoreOfANewerOrUnknownFormatIsRefusedWithAClearMessage) {
    for (const char* change : {"PRAGMA user_version=4; UPDATE header SET format_version=4",
                               "UPDATE header SET format_version=7"}) {
        SCOPED_TRACE(change);
        QFile::remove(Path());
        {
            auto writer = StoreWriter::Create(Path(), MadeUpHeader(), nullptr);
            ASSERT_TRUE(writer->Append(MadeUpReading(0)));
        }
        Execute(Path(), change);
        const qint64 version = QByteArray(change).contains("=7") ? 7 : 4;
        QString error;
        EXPECT_FALSE(StoreReader::Open(Path(), &error));
        EXPECT_EQ(error, NewerFormatMessage(Path(), version));
        EXPECT_TRUE(error.contains(QStringLiteral("newer version of this program")));
        error.clear();
        EXPECT_FALSE(StoreWriter::Resume(Path(), &error));
        EXPECT_EQ(error, NewerFormatMessage(Path(), version));
    }
}

TEST_F(StoreCrashTest, AFileThatIsNoStoreIsRefusedAsSuch) {
    Execute(Path("other.db"),
            "CREATE TABLE header(format_version INTEGER); INSERT INTO header VALUES(1)");
    QFile text(Path("text.kr820"));
    text.open(QIODevice::WriteOnly);
    text.write(QByteArray("Time\tT1\tT2\n").repeated(200));
    text.close();
    for (const QString& path : {Path("other.db"), Path("text.kr820")}) {
        QString error;
        EXPECT_FALSE(StoreReader::Open(path, &error));
        EXPECT_EQ(error, NotAStoreMessage(path));
    }
}

}  // namespace
}  // namespace kr820::store
