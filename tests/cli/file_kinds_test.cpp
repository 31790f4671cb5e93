// SPDX-License-Identifier: MIT
// "sets" and "export" read a file by what its bytes are, as they read standard input: a download
// saved without ".820" or under ".csv", a text file without an extension, a recording store under
// any name; and "sets" lists a recording store as one data set with its gaps, also from stdin.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli/input_file.h"
#include "cli_child.h"
#include "cli_rig.h"
#include "running_emulator.h"

namespace kr820::testing {
namespace {

const QString kFixtures = QStringLiteral(KR820_FIXTURES);

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray Expected(const QString& name) { return ReadFile(kFixtures + "/expected/" + name); }

QString CopiedAs(const QString& from, const QTemporaryDir& folder, const QString& name) {
    const QString to = folder.filePath(name);
    EXPECT_TRUE(QFile::copy(from, to)) << to.toStdString();
    return to;
}

TEST(FileKinds, AFileIsReadByItsBytesWhateverItsName) {
    QTemporaryDir folder;
    struct Case {
        QString file;
        QStringList command;  // the file's name is added
        const char* expected;
    };
    const QString collection = kFixtures + "/three_sets.820";
    const QString text = kFixtures + "/en_US_three_points.txt";
    const std::vector<Case> cases = {
        {CopiedAs(collection, folder, "mem"), {"sets"}, "three_sets_sets.csv"},
        {CopiedAs(collection, folder, "mem.csv"), {"export", "--all"}, "three_sets_all.csv"},
        {CopiedAs(collection, folder, "mem.txt"), {"sets"}, "three_sets_sets.csv"},
        {CopiedAs(text, folder, "points"), {"export"}, "en_US_three_points.csv"},
        {CopiedAs(text, folder, "points.820"), {"export"}, "en_US_three_points.csv"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file.toStdString());
        CliChild child;
        child.SetEnvironment("LC_ALL", "en_US.UTF-8");
        ASSERT_TRUE(child.Run(c.command + QStringList{c.file}));
        EXPECT_EQ(child.ExitCode(), 0) << child.Err().toStdString();
        EXPECT_EQ(child.Out(), Expected(c.expected));
    }
}

TEST(FileKinds, TheNameStandsWhereTheBytesAreOfItsSort) {
    using cli::SuffixOfContent;
    const QByteArray binary("\x01\x02garbage", 9);
    // A damaged file keeps its kind: its own reader says what is wrong with it.
    EXPECT_EQ(SuffixOfContent("820", binary, binary.size()), "820");
    EXPECT_EQ(SuffixOfContent("ghf", binary, binary.size()), "ghf");
    EXPECT_EQ(SuffixOfContent("820", {}, 0), "820");
    EXPECT_EQ(SuffixOfContent("csv", "a\tb\n", 4), "csv");
    EXPECT_EQ(SuffixOfContent("txt", "a,b\n", 4), "txt");
    // Bytes of another sort, or no name, decide.
    EXPECT_EQ(SuffixOfContent("csv", binary, binary.size()), "820");
    EXPECT_EQ(SuffixOfContent("", "a\tb\n", 4), "txt");
    EXPECT_EQ(SuffixOfContent("820", "a,b\n", 4), "csv");
    const QByteArray graph = QByteArray("\x04\x00\x00\x00", 4) + "abcd";
    EXPECT_EQ(SuffixOfContent("820", graph, graph.size()), "ghf");
    const QByteArray store = QByteArray("SQLite format 3\0", 16) + binary;
    EXPECT_EQ(SuffixOfContent("820", store, store.size()), "kr8db");
    EXPECT_EQ(SuffixOfContent("csv", store, store.size()), "kr8db");
}

TEST(FileKinds, SetsListsARecordingStoreAsOneSetWithItsGaps) {
    QTemporaryDir folder;
    const QString store = folder.filePath("night.kr8db");
    {
        // Two runs on one store: two readings each, the time between them a gap.
        CliRig rig;
        rig.meter->SetState(WithT1(250));
        for (int run = 0; run < 2; ++run)
            ASSERT_EQ(rig.Run({"live", "--count", "2", "--store", store}), cli::ExitCode::Success)
                << rig.Err().toStdString();
    }
    const QString unnamed = CopiedAs(store, folder, "recording");
    for (const bool fromStdin : {false, true}) {
        for (const bool json : {false, true}) {
            SCOPED_TRACE(std::string(fromStdin ? "stdin" : "named") + (json ? " json" : " csv"));
            CliChild child;
            if (fromStdin) child.process.setStandardInputFile(store);
            QStringList arguments{"sets", fromStdin ? "-" : unnamed, "--time-format", "epoch"};
            if (json) arguments << "--json";
            ASSERT_TRUE(child.Run(arguments));
            EXPECT_EQ(child.ExitCode(), 0) << child.Err().toStdString();
            const QList<QByteArray> lines = child.Out().trimmed().split('\n');
            if (json) {
                ASSERT_EQ(lines.size(), 1);
                EXPECT_TRUE(lines[0].startsWith("{\"set\":1,\"start\":")) << lines[0].toStdString();
                EXPECT_TRUE(lines[0].endsWith(
                    ",\"interval\":1,\"samples\":4,\"type\":null,\"unit\":\"C\",\"gaps\":1}"))
                    << lines[0].toStdString();
            } else {
                ASSERT_EQ(lines.size(), 2);
                EXPECT_EQ(lines[0], "set,start,interval,samples,type,unit,gaps\r");
                const QList<QByteArray> fields = lines[1].trimmed().split(',');
                ASSERT_EQ(fields.size(), 7) << lines[1].toStdString();
                EXPECT_EQ(fields[0], "1");
                EXPECT_GT(fields[1].toLongLong(), 1'700'000'000);
                EXPECT_EQ(fields.mid(2), (QList<QByteArray>{"1", "4", "", "C", "1"}));
            }
        }
    }
    // The export of the same store starts where the listing says.
    CliChild exported;
    ASSERT_TRUE(exported.Run({"export", unnamed, "--time-format", "epoch"}));
    EXPECT_EQ(exported.ExitCode(), 0) << exported.Err().toStdString();
    EXPECT_EQ(exported.Out().count('\n'), 5);
}

}  // namespace
}  // namespace kr820::testing
