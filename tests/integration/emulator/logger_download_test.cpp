// SPDX-License-Identifier: MIT
// Logger downloads driven from the application's end of the line with plain POSIX calls, the
// way the PC runs them: "HEAD", "DOWN", then each 35-byte block checked and answered.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "byte_file.h"
#include "hex.h"
#include "line_fixture.h"
#include "logger_memory_builder.h"
#include "memory_blocks.h"
#include "memory_files.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::FromHex;
using testing::ToHex;

const std::string kHead = FromHex("02484541449203");
const std::string kDown = FromHex("02444F574EB803");
const std::string kAccept = FromHex("027903574EA103");
const std::string kRefuse = FromHex("026E03574E9603");
const std::string kErase = FromHex("02434C524DAE03");

// The test's own reading of a block, from its layout: bytes 1 to 32 summed, OR 0x80, at 33.
bool SumOk(const std::string& block) {
    unsigned sum = 0;
    for (std::size_t i = 1; i <= 32; ++i) sum += static_cast<unsigned char>(block[i]);
    return block.size() == 35 && static_cast<unsigned char>(block[33]) == ((sum & 0xFF) | 0x80);
}

// 100 recorded bytes (two sets of 10 and 6 pairs): the end address 0x10000 + 99, four blocks.
std::string HundredByteImage() {
    DataSet first;
    first.start = {2024, 6, 1, 12, 0, 0};
    for (std::int16_t i = 0; i < 10; ++i) first.pairs.push_back({i, static_cast<std::int16_t>(-i)});
    DataSet second = first;
    second.pairs.resize(6);
    second.type = Thermocouple::kJ;
    return BuildMemoryImage({first, second});
}

class LoggerDownload : public testing::EmulatorOnLine {
protected:
    void SetUp() override {
        EmulatorOnLine::SetUp();
        ASSERT_TRUE(m_emulator.SetMemory(m_image));
    }

    struct Outcome {
        std::string memory;  // the accepted blocks' 32 bytes each
        int refusals = 0;
    };

    // The PC's loop: accept a good block, refuse a bad one, give up after 20 refusals or when
    // no block comes.
    Outcome Download(std::size_t blocks) {
        Outcome outcome;
        EXPECT_TRUE(m_line->Write(kDown));
        while (outcome.memory.size() < blocks * 32 && outcome.refusals <= 20) {
            const std::string block = m_line->Read(kBlockFrameBytes, 1s);
            if (block.size() != kBlockFrameBytes) break;
            if (SumOk(block)) {
                outcome.memory += block.substr(1, 32);
                EXPECT_TRUE(m_line->Write(kAccept));
            } else {
                ++outcome.refusals;
                EXPECT_TRUE(m_line->Write(kRefuse));
            }
        }
        return outcome;
    }

    std::string m_image = HundredByteImage();
    std::string m_memory = m_image.substr(kImageHeaderBytes) + std::string(28, '\xFF');
};

TEST_F(LoggerDownload, HeaderReplyCarriesSetCountAndEndAddress) {
    EXPECT_EQ(Exchange(kHead, kHeaderReplyBytes), "\x02HEAD        2 00010063  \x03");
}

TEST_F(LoggerDownload, EveryBlockPassesItsCheckAndTheMemoryArrivesWhole) {
    const Outcome outcome = Download(4);
    EXPECT_EQ(outcome.refusals, 0);
    EXPECT_EQ(ToHex(outcome.memory), ToHex(m_memory));
    // After the last block the meter has nothing more to say: the PC ends on the silence.
    EXPECT_EQ(m_line->ReadAll(300ms), "");
    EXPECT_EQ(m_emulator.ReceivedBodies(),
              (std::vector<std::string>{"DOWN", "y\x03WN", "y\x03WN", "y\x03WN", "y\x03WN"}));
}

TEST_F(LoggerDownload, RefusedBlockComesAgainUnchanged) {
    ASSERT_TRUE(m_line->Write(kDown));
    const std::string first = m_line->Read(kBlockFrameBytes, 1s);
    ASSERT_TRUE(SumOk(first));
    EXPECT_EQ(ToHex(Exchange(kRefuse, kBlockFrameBytes)), ToHex(first));
    EXPECT_EQ(ToHex(Exchange(kRefuse, kBlockFrameBytes)), ToHex(first));
    const std::string second = Exchange(kAccept, kBlockFrameBytes);
    EXPECT_TRUE(SumOk(second));
    EXPECT_EQ(second.substr(1, 32), m_memory.substr(32, 32));
}

TEST_F(LoggerDownload, BlockWithAWrongSumTheFirstTimeIsResentRight) {
    DownloadFaults faults;
    faults.badChecksumBlock = 2;
    m_emulator.SetDownloadFaults(faults);
    const Outcome outcome = Download(4);
    EXPECT_EQ(outcome.refusals, 1);
    EXPECT_EQ(ToHex(outcome.memory), ToHex(m_memory));
}

TEST_F(LoggerDownload, SilenceAfterABlockLeavesTheDownloadShort) {
    DownloadFaults faults;
    faults.silentAfterBlock = 1;
    m_emulator.SetDownloadFaults(faults);
    const Outcome outcome = Download(4);
    EXPECT_EQ(ToHex(outcome.memory), ToHex(m_memory.substr(0, 64)));
    ASSERT_TRUE(m_line->Write(kRefuse));
    EXPECT_EQ(m_line->ReadAll(300ms), "");  // not even a resend
}

TEST_F(LoggerDownload, EraseLeavesNothingRecorded) {
    EXPECT_EQ(ToHex(Exchange(kErase, kErase.size())), ToHex(kErase));
    EXPECT_EQ(Exchange(kHead, kHeaderReplyBytes).substr(10, 13), "   0 0000FFFF");
    ASSERT_TRUE(m_line->Write(kDown));
    EXPECT_EQ(m_line->ReadAll(300ms), "");
}

TEST_F(LoggerDownload, PacedBytesTakeTheirTimeOnTheLine) {
    // Slower than 19200 baud, so that the lower bound stands out of any scheduling noise.
    m_emulator.SetByteTime(2ms);
    const auto start = std::chrono::steady_clock::now();
    ASSERT_TRUE(m_line->Write(kHead));
    const std::string reply = m_line->Read(kHeaderReplyBytes, 2s);
    const auto took = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(reply, m_image.substr(0, kHeaderReplyBytes));
    EXPECT_GE(took, 26 * 2ms);
}

class CollectionFile : public LoggerDownload {
protected:
    void SetUp() override {
        LoggerDownload::SetUp();
        char folderTemplate[] = "/tmp/kr820-emulator-memory-XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        m_folder = folderTemplate;
    }
    void TearDown() override {
        for (const char* name : {"/saved.820", "/other.820", "/short.820"})
            unlink((m_folder + name).c_str());
        rmdir(m_folder.c_str());
    }
    std::string m_folder;
};

TEST_F(CollectionFile, LoadedFileIsWhatHeadAndDownDeliver) {
    // A file with bytes a built memory never has: its header reply and memory come back as
    // they stand, not rebuilt.
    std::string file = DownloadedImage(m_image);
    file.replace(5, 5, "x.y.z");
    file[kImageHeaderBytes + 2] = '\x7E';
    const std::string path = m_folder + "/other.820";
    ASSERT_TRUE(WriteByteFile(path, file, nullptr));
    std::string error;
    ASSERT_TRUE(LoadMemoryFile(path, &m_emulator, &error)) << error;
    EXPECT_EQ(Exchange(kHead, kHeaderReplyBytes), file.substr(0, kHeaderReplyBytes));
    EXPECT_EQ(ToHex(Download(4).memory), ToHex(file.substr(kImageHeaderBytes)));

    // Shorter than its header: refused, and the memory stays.
    ASSERT_TRUE(WriteByteFile(m_folder + "/short.820", file.substr(0, 255), nullptr));
    EXPECT_FALSE(LoadMemoryFile(m_folder + "/short.820", &m_emulator, &error));
    EXPECT_NE(error.find("short.820"), std::string::npos);
    EXPECT_EQ(m_emulator.Memory(), file);
    EXPECT_FALSE(LoadMemoryFile(m_folder + "/missing.820", &m_emulator, &error));
}

TEST_F(CollectionFile, SavedMemoryIsWhatADownloadGivesAndLoadsBackTheSame) {
    const std::string path = m_folder + "/saved.820";
    std::string error;
    ASSERT_TRUE(SaveMemoryFile(path, m_emulator.Memory(), &error)) << error;
    std::string saved;
    ASSERT_TRUE(ReadByteFile(path, &saved, &error)) << error;
    EXPECT_EQ(ToHex(saved), ToHex(m_image.substr(0, kImageHeaderBytes) + m_memory));

    ASSERT_TRUE(LoadMemoryFile(path, &m_emulator, &error)) << error;
    EXPECT_EQ(Exchange(kHead, kHeaderReplyBytes), m_image.substr(0, kHeaderReplyBytes));
    EXPECT_EQ(ToHex(Download(4).memory), ToHex(m_memory));
}

}  // namespace
}  // namespace kr820::emulator
