// SPDX-License-Identifier: MIT
// Where kr820-cli writes: a failed write on stdout is a failure with its reason for every command,
// a pipe or a device named as the output is written to without --force and never replaced (a
// regular file is replaced only with --force), a download is written only under a collection's
// name, and an output that cannot be made is found before the meter is asked.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
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

TEST(CliOutputs, EveryCommandFailsWhenStdoutCannotBeWritten) {
    auto meter = StartEmulator();
    const QString device = PathOf(*meter);
    const std::vector<QStringList> commands = {
        {"--help"},
        {"ports"},
        {"sets", kFixtures + "/three_sets.820"},
        {"export", kFixtures + "/three_sets.820"},
        {"export", kFixtures + "/three_sets.820", "-o", "-"},
        {"live", "--count", "1", "--device", device},
        {"setup", "show", "--device", device},
        {"setup", "set", "type=J", "--device", device},  // a change to list
        {"clock", "sync", "--device", device},
    };
    for (const QStringList& command : commands) {
        SCOPED_TRACE(command.join(' ').toStdString());
        CliChild child;
        child.SetEnvironment("KR820_PORTS", device);  // "ports" has a line to write
        child.process.setStandardOutputFile("/dev/full");
        ASSERT_TRUE(child.Run(command));
        EXPECT_EQ(child.ExitCode(), 1) << child.Err().toStdString();
        EXPECT_TRUE(child.Err().contains("writing to stdout failed: "))
            << child.Err().toStdString();
    }
}

TEST(CliOutputs, APipeNamedAsTheOutputIsWrittenAndKept) {
    QTemporaryDir folder;
    const QString fifo = folder.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // The reader is another process, as it would be: it waits for the pipe's writer.
    QProcess reader;
    reader.start("cat", {fifo});
    ASSERT_TRUE(reader.waitForStarted());
    CliChild child;
    ASSERT_TRUE(child.Run({"export", kFixtures + "/three_sets.820", "--all", "-o", fifo}));
    if (!reader.waitForFinished(5000)) reader.kill();
    const QByteArray read = reader.readAllStandardOutput();
    EXPECT_EQ(child.ExitCode(), 0) << child.Err().toStdString();
    EXPECT_EQ(read, Expected("three_sets_all.csv"));
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the pipe was replaced";
}

TEST(CliOutputs, ADeviceNamedAsTheOutputIsWrittenAndKept) {
    if (::geteuid() != 0) GTEST_SKIP() << "making a device node needs root";
    QTemporaryDir folder;
    const QString null = folder.filePath("mynull");
    ASSERT_EQ(::mknod(QFile::encodeName(null).constData(), S_IFCHR | 0666, makedev(1, 3)), 0);
    CliChild child;
    ASSERT_TRUE(child.Run({"export", kFixtures + "/three_sets.820", "-o", null}));
    EXPECT_EQ(child.ExitCode(), 0) << child.Err().toStdString();
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(null).constData(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode)) << "the device node was replaced";
}

TEST(CliOutputs, DevNullAndStdoutNeedNoForceButARegularFileDoes) {
    auto meter = StartEmulator();
    const QString device = PathOf(*meter);
    QTemporaryDir folder;
    const QString earlier = folder.filePath("earlier.820");
    {
        QFile file(earlier);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("earlier");
    }
    struct Case {
        QStringList arguments;
        int exitCode;
        const char* err;  // in stderr
    };
    const QString collection = kFixtures + "/three_sets.820";
    const std::vector<Case> cases = {
        {{"export", collection, "-o", "/dev/null"}, 0, ""},
        {{"export", collection, "--all", "-o", "/dev/stdout"}, 0, ""},
        {{"download", "-o", "/dev/null", "--device", device}, 0, ""},
        {{"download", "-o", "/dev/stdout", "--device", device}, 0, ""},
        {{"export", collection, "-o", earlier}, 1, "exists; --force replaces it"},
        {{"download", "-o", earlier, "--device", device}, 1, "exists; --force replaces it"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        CliChild child;
        ASSERT_TRUE(child.Run(c.arguments));
        EXPECT_EQ(child.ExitCode(), c.exitCode) << child.Err().toStdString();
        EXPECT_TRUE(child.Err().contains(c.err)) << child.Err().toStdString();
        const QByteArray out = child.Out();
        // A download is the meter's memory, and after it the rest of the last block.
        if (c.arguments.contains("/dev/stdout") && c.arguments.first() == "download")
            EXPECT_TRUE(out.startsWith(QByteArray::fromStdString(meter->Memory())));
        else if (c.arguments.contains("/dev/stdout"))
            EXPECT_EQ(out, Expected("three_sets_all.csv"));
    }
    QFile kept(earlier);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "earlier");
    struct stat status {};
    ASSERT_EQ(::stat("/dev/null", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode)) << "/dev/null was replaced";
}

TEST(CliOutputs, ADownloadIsWrittenToAPipeOnceItHasAReader) {
    auto meter = StartEmulator();
    QTemporaryDir folder;
    const QString fifo = folder.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QProcess reader;
    reader.start("cat", {fifo});
    ASSERT_TRUE(reader.waitForStarted());
    CliChild child;
    ASSERT_TRUE(child.Run({"download", "-o", fifo, "--device", PathOf(*meter)}));
    if (!reader.waitForFinished(5000)) reader.kill();
    EXPECT_EQ(child.ExitCode(), 0) << child.Err().toStdString();
    EXPECT_TRUE(
        reader.readAllStandardOutput().startsWith(QByteArray::fromStdString(meter->Memory())));
}

TEST(CliOutputs, ADownloadUnderAnotherNameThanACollectionsIsRefusedBeforeTheMeterIsAsked) {
    auto meter = StartEmulator();
    QTemporaryDir folder;
    for (const char* name : {"memory", "memory.csv", "memory.820.txt"}) {
        SCOPED_TRACE(name);
        CliChild download;
        ASSERT_TRUE(
            download.Run({"download", "-o", folder.filePath(name), "--device", PathOf(*meter)}));
        EXPECT_EQ(download.ExitCode(), 2) << download.Err().toStdString();
        EXPECT_TRUE(download.Err().contains("a name ending in .820"))
            << download.Err().toStdString();
        EXPECT_FALSE(QFile::exists(folder.filePath(name)));
    }
    EXPECT_TRUE(meter->ReceivedBodies().empty()) << "the meter was asked first";
}

TEST(CliOutputs, ADownloadWhoseOutputCannotBeMadeAsksTheMeterNothing) {
    auto meter = StartEmulator();
    QTemporaryDir folder;
    const QString tooLong = folder.filePath(QString(300, QLatin1Char('x')) + ".820");
    CliChild download;
    ASSERT_TRUE(download.Run({"download", "-o", tooLong, "--device", PathOf(*meter)}));
    EXPECT_EQ(download.ExitCode(), 1);
    EXPECT_TRUE(download.Err().contains("cannot write")) << download.Err().toStdString();
    EXPECT_TRUE(meter->ReceivedBodies().empty()) << "the meter was asked first";
}

}  // namespace
}  // namespace kr820::testing
