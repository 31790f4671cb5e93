// SPDX-License-Identifier: MIT
// kr820-cli ended by the signals services and shells send: SIGTERM and SIGINT end every command
// at once with their exit codes, a download so stopped tells the meter and writes nothing,
// SIGQUIT keeps its default, and a file size limit is a failure with its reason.
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <csignal>
#include <thread>

#include "cli_child.h"
#include "logger_memory_builder.h"
#include "meter_emulator.h"
#include "running_emulator.h"

namespace kr820::testing {
namespace {

const QString kFixtures = QStringLiteral(KR820_FIXTURES);
// The limit for a command to end after a signal: the user's "at once", generous for a loaded
// machine.
constexpr int kEndsSoonMs = 3000;

// A memory that takes the paced line several seconds to send.
std::string LongMemory() {
    emulator::DataSet set;
    set.start = {2026, 12, 7, 9, 30, 0};
    for (int i = 0; i < 2000; ++i)
        set.pairs.push_back(
            {static_cast<std::int16_t>(200 + i % 50), static_cast<std::int16_t>(i % 30)});
    return emulator::BuildMemoryImage({set});
}

// The meter reads between the blocks it sends: give it the time of one.
bool AbortFrameReceived(const emulator::MeterEmulator& meter) {
    const auto received = [&meter] {
        for (const std::string& body : meter.ReceivedBodies())
            if (body == std::string(1, '\xAA')) return true;
        return false;
    };
    for (int look = 0; look < 100 && !received(); ++look)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return received();
}

// Each signal twice, at random points of the transfer: every run a test case of its own, so
// that the runs go side by side.
class CliSignalsDownload : public ::testing::TestWithParam<int> {};

TEST_P(CliSignalsDownload, ADownloadStoppedBySignalTellsTheMeterAndWritesNothing) {
    const int signal = GetParam();
    SCOPED_TRACE(signal == SIGTERM ? "SIGTERM" : "SIGINT");
    auto meter = StartEmulator();
    ASSERT_TRUE(meter->SetMemory(LongMemory()));
    meter->SetByteTime(emulator::kByteTimeAt19200);
    QTemporaryDir folder;
    const QString output = folder.filePath("memory.820");
    {
        QFile earlier(output);
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }
    CliChild download;
    download.Start({"download", "--force", "-o", output, "--device", PathOf(*meter)});
    ASSERT_TRUE(download.AwaitErr("downloading")) << download.Err().toStdString();
    // Anywhere in the transfer.
    std::this_thread::sleep_for(
        std::chrono::milliseconds(QRandomGenerator::global()->bounded(1500)));
    download.Signal(signal);
    ASSERT_TRUE(download.Finish(kEndsSoonMs)) << "ran on after the signal";
    EXPECT_EQ(download.ExitCode(), signal == SIGTERM ? 143 : 130) << download.Err().toStdString();
    EXPECT_TRUE(AbortFrameReceived(*meter));
    QFile kept(output);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "earlier");
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).size(), 1)
        << "no temporary file left";
}

INSTANTIATE_TEST_SUITE_P(EachSignalTwice, CliSignalsDownload,
                         ::testing::Values(SIGTERM, SIGINT, SIGTERM, SIGINT));

TEST(CliSignals, ASearchEndsAtTheSignal) {
    // The same silent device listed over and over: a search of many seconds.
    auto silent = StartEmulator(/*silent=*/true);
    QStringList devices;
    for (int i = 0; i < 30; ++i) devices << PathOf(*silent);
    for (const int signal : {SIGTERM, SIGINT}) {
        CliChild setup;
        setup.SetEnvironment("KR820_PORTS", devices.join(':'));
        setup.Start({"setup", "show"});
        std::this_thread::sleep_for(
            std::chrono::milliseconds(500 + QRandomGenerator::global()->bounded(1500)));
        setup.Signal(signal);
        ASSERT_TRUE(setup.Finish(kEndsSoonMs)) << "searched on after the signal";
        EXPECT_EQ(setup.ExitCode(), signal == SIGTERM ? 143 : 130) << setup.Err().toStdString();
    }
}

TEST(CliSignals, APipeWithoutReaderOrInputWithoutWriterHoldsNoSignalOff) {
    auto meter = StartEmulator();
    const QString device = PathOf(*meter);
    QTemporaryDir folder;
    const QString fifo = folder.filePath("pipe");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    struct Case {
        QStringList arguments;
        QByteArray waiting;  // in stderr once it waits
    };
    const std::vector<Case> cases = {
        {{"live", "--device", device, "-o", fifo}, "waiting for a reader of"},
        {{"watch", "--alarm", "t1>85", "--device", device, "-o", fifo}, "waiting for a reader of"},
        {{"export", kFixtures + "/three_sets.820", "-o", fifo}, "waiting for a reader of"},
        {{"download", "--device", device, "-o", fifo}, "waiting for a reader of"},
        // Standard input is a pipe the test holds open and never writes.
        {{"sets", "-", "-v"}, "kr820-cli"},
        {{"export", "-", "-v"}, "kr820-cli"},
    };
    for (const Case& c : cases) {
        for (const int signal : {SIGTERM, SIGINT}) {
            SCOPED_TRACE(c.arguments.join(' ').toStdString() +
                         (signal == SIGTERM ? " SIGTERM" : " SIGINT"));
            CliChild child;
            child.Start(c.arguments);
            if (c.arguments.contains("-")) {
                // -v says nothing before the input is read: give it the time to block in it.
                std::this_thread::sleep_for(std::chrono::milliseconds(500));
            } else {
                ASSERT_TRUE(child.AwaitErr(c.waiting)) << child.Err().toStdString();
            }
            child.Signal(signal);
            ASSERT_TRUE(child.Finish(kEndsSoonMs)) << "ran on after the signal";
            EXPECT_EQ(child.ExitCode(), signal == SIGTERM ? 143 : 130) << child.Err().toStdString();
        }
    }
    struct stat status {};
    ASSERT_EQ(::stat(QFile::encodeName(fifo).constData(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode)) << "the pipe was replaced";
}

TEST(CliSignals, SigquitKeepsItsDefaultEvenWhenInheritedIgnored) {
    // A shell without job control starts background jobs with SIGQUIT ignored.
    auto silent = StartEmulator(/*silent=*/true);
    CliChild live;
    live.InChild([] {
        NoCoreFile();
        std::signal(SIGQUIT, SIG_IGN);
    });
    live.Start({"live", "--device", PathOf(*silent)});
    ASSERT_TRUE(live.AwaitErr("waiting"));
    live.Signal(SIGQUIT);
    ASSERT_TRUE(live.Finish(kEndsSoonMs));
    EXPECT_EQ(live.process.exitStatus(), QProcess::CrashExit);
    EXPECT_EQ(live.process.exitCode(), SIGQUIT);
}

TEST(CliSignals, AFileSizeLimitIsAFailureWithItsReason) {
    QTemporaryDir folder;
    const QString output = folder.filePath("all.csv");
    const auto limited = [] {
        const rlimit small{2048, 2048};
        ::setrlimit(RLIMIT_FSIZE, &small);
    };
    CliChild toFile;
    toFile.InChild(limited);
    ASSERT_TRUE(toFile.Run({"export", kFixtures + "/three_sets.820", "--all", "-o", output}));
    EXPECT_EQ(toFile.ExitCode(), 1);
    EXPECT_TRUE(toFile.Err().toLower().contains("file too large")) << toFile.Err().toStdString();
    EXPECT_FALSE(QFile::exists(output));
    EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden).isEmpty());

    CliChild toStdout;
    toStdout.InChild(limited);
    toStdout.process.setStandardOutputFile(output);
    ASSERT_TRUE(toStdout.Run({"export", kFixtures + "/three_sets.820", "--all"}));
    EXPECT_EQ(toStdout.ExitCode(), 1);
    EXPECT_TRUE(toStdout.Err().toLower().contains("writing to stdout failed: file too large"))
        << toStdout.Err().toStdString();
}

TEST(CliSignals, AFullDiskDuringLiveStoreIsToldOnce) {
    auto meter = StartEmulator();
    QTemporaryDir folder;
    const QString store = folder.filePath("night.kr820");
    CliChild live;
    // Room for the new store, SQLite's 32 KB index of its log (-shm) and about 50 readings in
    // its log (a 536-byte frame a reading, the first one its block's room too): full before the
    // log is folded in after 60 s.
    live.InChild([] {
        std::signal(SIGXFSZ, SIG_IGN);
        const rlimit small{33 * 1024, 33 * 1024};
        ::setrlimit(RLIMIT_FSIZE, &small);
    });
    ASSERT_TRUE(
        live.Run({"live", "--device", PathOf(*meter), "--count", "60", "--store", store}, 110'000));
    EXPECT_EQ(live.ExitCode(), 1);
    EXPECT_EQ(live.Err().count("cannot be written"), 1) << live.Err().toStdString();
}

}  // namespace
}  // namespace kr820::testing
