// SPDX-License-Identifier: MIT
// kr820-cli as data-acquisition tools behave: --version, "-" as stdin, live appending to a file
// for a duration, -q and -v through the logging categories, plain ASCII under LC_ALL=C.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli_child.h"
#include "running_emulator.h"

namespace kr820::testing {
namespace {

const QString kFixtures = QStringLiteral(KR820_FIXTURES);

QByteArray Expected(const QString& name) {
    QFile file(kFixtures + "/expected/" + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QByteArray ReadFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool PlainAscii(const QByteArray& bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

TEST(CliConventions, VersionNamesTheProgramAndQt) {
    for (const QStringList& arguments : {QStringList{"--version"}, {"live", "-V"}}) {
        CliChild child;
        ASSERT_TRUE(child.Run(arguments));
        EXPECT_EQ(child.ExitCode(), 0);
        const QByteArray out = child.Out();
        EXPECT_TRUE(out.startsWith("kr820-cli 1.")) << out.toStdString();
        EXPECT_TRUE(out.contains("\nQt 6.")) << out.toStdString();
    }
}

TEST(CliConventions, DashReadsTheFileFromStdin) {
    struct Case {
        QStringList arguments;
        const char* expected;
    };
    for (const Case& c : {Case{{"sets", "-"}, "three_sets_sets.csv"},
                          Case{{"export", "-", "--all"}, "three_sets_all.csv"}}) {
        SCOPED_TRACE(c.expected);
        CliChild child;
        child.process.setStandardInputFile(kFixtures + "/three_sets.820");
        ASSERT_TRUE(child.Run(c.arguments));
        EXPECT_EQ(child.ExitCode(), 0) << child.Err().toStdString();
        EXPECT_EQ(child.Out(), Expected(c.expected));
    }
    // A text file comes through as well, told by its bytes.
    CliChild text;
    text.SetEnvironment("LC_ALL", "en_US.UTF-8");
    text.process.setStandardInputFile(kFixtures + "/en_US_three_points.txt");
    ASSERT_TRUE(text.Run({"export", "-"}));
    EXPECT_EQ(text.ExitCode(), 0) << text.Err().toStdString();
    EXPECT_EQ(text.Out(), Expected("en_US_three_points.csv"));
}

TEST(CliConventions, LiveAppendsToItsFileWithOneHeaderRow) {
    auto meter = StartEmulator();
    QTemporaryDir folder;
    const QString file = folder.filePath("night.csv");
    for (int run = 0; run < 2; ++run) {
        CliChild child;
        ASSERT_TRUE(child.Run({"live", "--device", PathOf(*meter), "--count", "1", "-o", file}));
        EXPECT_EQ(child.ExitCode(), 0) << child.Err().toStdString();
        EXPECT_TRUE(child.Out().isEmpty());
    }
    const QList<QByteArray> lines = ReadFile(file).split('\n');
    ASSERT_EQ(lines.size(), 4);  // a header, two rows, nothing after the last line end
    EXPECT_EQ(lines[0], "time,utc_offset,t1,t2,unit\r");
    EXPECT_EQ(ReadFile(file).count("time,"), 1);

    // "-o -" is stdout; --duration ends the run by itself.
    CliChild toStdout;
    ASSERT_TRUE(toStdout.Run({"live", "--device", PathOf(*meter), "--duration", "2", "-o", "-",
                              "--time-format", "epoch"}));
    EXPECT_EQ(toStdout.ExitCode(), 0) << toStdout.Err().toStdString();
    const QByteArray out = toStdout.Out();
    EXPECT_TRUE(out.startsWith("time,t1,t2,unit\r\n")) << out.toStdString();
    EXPECT_GE(out.count('\n'), 2);

    // A file that cannot be made is said before the meter is looked for.
    CliChild refused;
    ASSERT_TRUE(refused.Run({"live", "--device", PathOf(*meter), "-o", folder.filePath("no/x")}));
    EXPECT_EQ(refused.ExitCode(), 1);
    EXPECT_TRUE(refused.Err().startsWith("kr820-cli: cannot write '"))
        << refused.Err().toStdString();
}

TEST(CliConventions, DurationCountsFromTheFirstReadingNotTheSearch) {
    // Two silent devices before the meter: a search of a second and more.
    auto silent = StartEmulator(/*silent=*/true);
    auto meter = StartEmulator();
    CliChild live;
    live.SetEnvironment("KR820_PORTS",
                        QStringList{PathOf(*silent), PathOf(*silent), PathOf(*meter)}.join(':'));
    ASSERT_TRUE(live.Run({"live", "--duration", "3", "--time-format", "epoch"}));
    EXPECT_EQ(live.ExitCode(), 0) << live.Err().toStdString();
    // The readings of 0, 1 and 2 s after the first: a header and three rows.
    const QByteArray out = live.Out();
    EXPECT_EQ(out.count('\n'), 4) << out.toStdString();
}

TEST(CliConventions, VerboseShowsWhatIsDoneAndTheFramesQuietOnlyErrors) {
    auto meter = StartEmulator();
    CliChild frames;
    ASSERT_TRUE(frames.Run({"live", "-vv", "--device", PathOf(*meter), "--count", "1"}));
    EXPECT_EQ(frames.ExitCode(), 0);
    EXPECT_TRUE(frames.Err().contains("kr820.cli: searching the meter on"))
        << frames.Err().toStdString();
    EXPECT_TRUE(frames.Err().contains("kr820.link: " + PathOf(*meter).toUtf8() + " sent 02"));
    EXPECT_TRUE(frames.Err().contains(" received "));

    CliChild plain;
    ASSERT_TRUE(plain.Run({"live", "--device", PathOf(*meter), "--count", "1"}));
    EXPECT_TRUE(plain.Err().isEmpty()) << plain.Err().toStdString();

    for (const bool quiet : {false, true}) {
        CliChild erase;
        QStringList arguments{"erase", "--yes", "--device", PathOf(*meter)};
        if (quiet) arguments << "-q";
        ASSERT_TRUE(erase.Run(arguments));
        EXPECT_EQ(erase.ExitCode(), 0) << erase.Err().toStdString();
        EXPECT_EQ(erase.Err(), quiet ? "" : "kr820-cli: the meter's memory is erased\n");
    }
}

TEST(CliConventions, PlainAsciiUnderTheCLanguage) {
    auto meter = StartEmulator();
    const std::vector<QStringList> commands = {
        {"--help"},
        {"setup", "--help"},
        {"sets", kFixtures + "/three_sets.820", "--json"},
        {"export", kFixtures + "/three_sets.820", "--all", "--format", "jsonl"},
        {"setup", "show", "--device", PathOf(*meter)},
        {"setup", "set", "type=J", "alarm-upper=85.5", "--device", PathOf(*meter)},
        {"export", "nowhere.820"},
        {"live", "--bogus"},
    };
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        CliChild child;
        child.SetEnvironment("LC_ALL", "C");
        ASSERT_TRUE(child.Run(command));
        const QByteArray out = child.Out();
        EXPECT_TRUE(PlainAscii(out)) << out.toStdString();
        EXPECT_TRUE(PlainAscii(child.Err())) << child.Err().toStdString();
        if (command.contains("type=J")) {
            EXPECT_TRUE(out.contains("K -> J")) << out.toStdString();
        }
    }
}

}  // namespace
}  // namespace kr820::testing
