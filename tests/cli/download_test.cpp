// SPDX-License-Identifier: MIT
// "download" against the emulated meter: the file is the meter's memory byte for byte, written
// only when whole, and every way it can fail has its own exit code.
#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include "cli_rig.h"
#include "logger_memory_builder.h"

namespace kr820::testing {
namespace {

using cli::ExitCode;

emulator::DataSet Set(int pairs, std::int16_t first) {
    emulator::DataSet set;
    set.start = {2026, 12, 7, 9, 30, 0};
    for (int i = 0; i < pairs; ++i)
        set.pairs.push_back({static_cast<std::int16_t>(first + i), static_cast<std::int16_t>(-i)});
    return set;
}

// Two sets of 12 and 7 pairs; both bytes of the second record's start marker spoiled when
// `damaged` (one of them still passes).
std::string TwoSets(bool damaged) {
    std::string image = emulator::BuildMemoryImage({Set(12, 200), Set(7, 300)});
    const std::size_t second =
        emulator::kImageHeaderBytes + emulator::kRecordOverheadBytes + 4 * 12;
    if (damaged) image[second] = image[second + 1] = '\x00';
    return image;
}

// The file is the meter's memory byte for byte, and after it what the last block carried beyond
// the memory's end: blocks come whole, and the file keeps what the desktop's save keeps.
void ExpectMetersMemory(const QByteArray& file, const std::string& memory) {
    constexpr qsizetype kBlockPayload = 32;
    const auto recorded = static_cast<qsizetype>(memory.size()) - 256;
    EXPECT_EQ(file.left(static_cast<qsizetype>(memory.size())), QByteArray::fromStdString(memory));
    EXPECT_EQ(file.size(), 256 + (recorded + kBlockPayload - 1) / kBlockPayload * kBlockPayload);
}

QByteArray ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class CliDownload : public ::testing::Test {
protected:
    QString Output() const { return m_folder.filePath(QStringLiteral("memory.820")); }
    ExitCode Download(QStringList extra = {}) {
        return m_rig.Run(QStringList{"download", "--output", Output()} + extra);
    }

    QTemporaryDir m_folder;
    CliRig m_rig;
};

TEST_F(CliDownload, WritesTheMetersMemoryByteForByteWithProgressLines) {
    ASSERT_TRUE(m_rig.meter->SetMemory(TwoSets(false)));
    ASSERT_EQ(Download(), ExitCode::Success) << m_rig.Err().toStdString();
    ExpectMetersMemory(ReadAll(Output()), m_rig.meter->Memory());
    // stderr is no terminal here: a line per tenth, the last one at 100 %.
    EXPECT_EQ(m_rig.Err().count(QStringLiteral("kr820-cli: downloaded ")), 10)
        << m_rig.Err().toStdString();
    EXPECT_TRUE(m_rig.Err().contains("downloaded 100 %"));
    EXPECT_TRUE(m_rig.Err().contains("2 data sets"));
}

TEST_F(CliDownload, AnExistingFileIsKeptUnlessForced) {
    {
        QFile earlier(Output());
        ASSERT_TRUE(earlier.open(QIODevice::WriteOnly));
        earlier.write("earlier");
    }
    EXPECT_EQ(Download(), ExitCode::Failed);
    EXPECT_EQ(ReadAll(Output()), "earlier");
    EXPECT_TRUE(m_rig.meter->ReceivedBodies().empty()) << "the meter was asked before refusing";

    EXPECT_EQ(Download({"--force"}), ExitCode::Success);
    ExpectMetersMemory(ReadAll(Output()), m_rig.meter->Memory());
}

TEST_F(CliDownload, EachFailureHasItsExitCodeAndWritesNothing) {
    struct Case {
        const char* what;
        std::function<void(emulator::MeterEmulator&)> arrange;
        ExitCode expected;
    };
    const std::vector<Case> cases = {
        {"header not answered",
         [](emulator::MeterEmulator& meter) {
             emulator::DownloadFaults faults;
             faults.noHeaderReply = true;
             meter.SetDownloadFaults(faults);
         },
         ExitCode::HeaderNotAnswered},
        {"nothing recorded",
         [](emulator::MeterEmulator& meter) {
             emulator::DownloadFaults faults;
             faults.endAddress = emulator::kEmptyEndAddress;
             meter.SetDownloadFaults(faults);
         },
         ExitCode::NothingRecorded},
        {"transfer broken off",
         [](emulator::MeterEmulator& meter) {
             emulator::DownloadFaults faults;
             faults.silentAfterBlock = 2;
             meter.SetDownloadFaults(faults);
         },
         ExitCode::TransferFailed},
        {"damaged set",
         [](emulator::MeterEmulator& meter) { ASSERT_TRUE(meter.SetMemory(TwoSets(true))); },
         ExitCode::NotDecodable},
        {"meter recording",
         [](emulator::MeterEmulator& meter) {
             emulator::MeterState state = meter.State();
             state.statusB |= emulator::kStatusBRecording;
             meter.SetState(state);
         },
         ExitCode::MeterRecording},
        {"no meter", [](emulator::MeterEmulator& meter) { meter.SetSilent(true); },
         ExitCode::NoMeter},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CliRig rig;
        c.arrange(*rig.meter);
        QTemporaryDir folder;
        const QString output = folder.filePath(QStringLiteral("memory.820"));
        EXPECT_EQ(rig.Run({"download", "-o", output}), c.expected) << rig.Err().toStdString();
        EXPECT_FALSE(QFile::exists(output));
        // One line says what went wrong, nothing is left unsaid on stderr.
        EXPECT_TRUE(rig.Err().endsWith('\n'));
        EXPECT_FALSE(rig.Err().isEmpty());
    }
}

TEST_F(CliDownload, RecoverKeepsTheSetsBeforeTheDamagedOne) {
    ASSERT_TRUE(m_rig.meter->SetMemory(TwoSets(true)));
    ASSERT_EQ(Download({"--recover"}), ExitCode::Success) << m_rig.Err().toStdString();
    EXPECT_TRUE(m_rig.Err().contains("data set 2 is damaged; the 1 data sets before it are kept"))
        << m_rig.Err().toStdString();
    // The memory as it came: nothing the meter sent is lost.
    ExpectMetersMemory(ReadAll(Output()), m_rig.meter->Memory());

    // Reading it back needs the same word; then only the first set's 12 rows come out.
    CliRig reader;
    EXPECT_EQ(reader.Run({"export", Output()}, false), ExitCode::NotDecodable);
    CliRig recovering;
    ASSERT_EQ(recovering.Run({"export", Output(), "--all", "--recover"}, false), ExitCode::Success);
    EXPECT_EQ(recovering.OutLines().size(), 1 + 12);
}

}  // namespace
}  // namespace kr820::testing
