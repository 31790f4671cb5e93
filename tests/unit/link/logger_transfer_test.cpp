// SPDX-License-Identifier: MIT
// The logger download's transfer against the emulator's meter and its faults, on a scripted
// port: the header and silence limits pass on a jumping clock.
#include "link/logger_transfer.h"

#include <gtest/gtest.h>

#include "link_log_capture.h"
#include "link_rig.h"
#include "logger_memory_builder.h"

namespace kr820::link {
namespace {

using namespace std::chrono_literals;
using core::DownloadCode;

class RecordingTransferView : public TransferView {
public:
    explicit RecordingTransferView(const Clock& clock) : m_clock(clock) {}

    void ShowBusyCursor(bool busy) override { busyCursor = busy; }
    void ShowTransferProgress(int totalBytes) override { shownTotal = totalBytes; }
    void SetBytesReceived(int bytes) override {
        progress.push_back(bytes);
        progressTimes.push_back(m_clock.Now());
        if (onProgress) onProgress(bytes);
    }
    void RepaintProgress() override { ++repaints; }
    void CloseTransferProgress() override {
        closed = true;
        closedAt = m_clock.Now();
    }

    bool busyCursor = false;
    int shownTotal = -1;
    std::vector<int> progress;
    std::vector<Clock::TimePoint> progressTimes;
    std::function<void(int bytes)> onProgress;
    int repaints = 0;
    bool closed = false;
    Clock::TimePoint closedAt;

private:
    const Clock& m_clock;
};

// A memory of one set with 20 pairs: 18 + 80 = 98 bytes, four blocks.
std::string SmallMemory() {
    emulator::DataSet set;
    set.start = {2026, 12, 7, 10, 30, 0};
    for (int i = 0; i < 20; ++i)
        set.pairs.push_back({static_cast<std::int16_t>(200 + i), static_cast<std::int16_t>(-i)});
    return emulator::BuildMemoryImage({set});
}

class LoggerTransferTest : public ::testing::Test {
protected:
    LoggerTransferTest() {
        meter.answers.Logger().SetMemory(SmallMemory());
        rig.Attach("/dev/ttyKR0", meter);
        rig.link.SetDevices({"/dev/ttyKR0"});
        rig.comm1.Open();
    }
    DownloadCode Run() {
        LoggerTransfer transfer(rig.link, rig.comm2, view);
        image = QByteArray(core::kFirstRecordOffset, '\0');
        const DownloadCode code = transfer.TransferMemory(image);
        counters = transfer.Counters();
        return code;
    }
    void Fault(const std::function<void(emulator::DownloadFaults&)>& change) {
        emulator::DownloadFaults faults;
        change(faults);
        meter.answers.Logger().SetFaults(faults);
    }
    QByteArray Recorded(int bytes) const {
        return QByteArray::fromStdString(meter.answers.Logger().Memory()).mid(256, bytes);
    }

    testing::ScriptedMeter meter;
    testing::ScriptedLinkRig rig;
    RecordingTransferView view{rig.clock};
    QByteArray image;
    TransferCounters counters;
};

TEST_F(LoggerTransferTest, FourGoodBlocksCompleteAHundredByteMemory) {
    Fault([](auto& faults) { faults.endAddress = 0x10000 + 99; });
    EXPECT_EQ(Run(), DownloadCode::Success);
    EXPECT_EQ(counters.expectedBytes, 128);
    EXPECT_EQ(counters.receivedBytes, 128);
    EXPECT_EQ(view.shownTotal, 128);
    EXPECT_EQ(view.progress, (std::vector<int>{32, 64, 96, 128}));
    EXPECT_TRUE(view.closed);
    EXPECT_FALSE(view.busyCursor);
    EXPECT_EQ(image.size(), 256 + 128);
    EXPECT_TRUE(image.startsWith(QByteArray("\x02HEAD", 5)));
    EXPECT_EQ(image.mid(256, 98), Recorded(98));
    EXPECT_EQ(meter.Count(std::string("y\x03WN", 4)), 4);
    EXPECT_FALSE(rig.comm1.Active()) << "the live port stays closed until the caller hands back";
    EXPECT_TRUE(rig.comm2.Active());
}

TEST_F(LoggerTransferTest, AnEmptyMemoryOrAnOversizedOneHasNothingToTransfer) {
    Fault([](auto& faults) { faults.endAddress = 0xFFFF; });
    EXPECT_EQ(Run(), DownloadCode::NothingRecorded);
    Fault([](auto& faults) { faults.endAddress = 0xFFFF + 132001; });
    EXPECT_EQ(Run(), DownloadCode::NothingRecorded);
    EXPECT_EQ(view.shownTotal, -1) << "no progress window without a transfer";
    EXPECT_EQ(meter.Count("DOWN"), 0);
}

TEST_F(LoggerTransferTest, NoHeaderReplyCostsTwoSecondsAndFourRequests) {
    Fault([](auto& faults) { faults.noHeaderReply = true; });
    EXPECT_EQ(Run(), DownloadCode::NoHeader);
    EXPECT_EQ(counters.headerRequests, 4);
    EXPECT_EQ(meter.Count("HEAD"), 4);
    EXPECT_EQ(rig.clock.Elapsed(), 500ms + 2000ms) << "the port switch, then one header limit";
    EXPECT_FALSE(view.busyCursor);
}

TEST_F(LoggerTransferTest, AHeaderOfTheWrongLengthIsNoHeader) {
    Fault([](auto& faults) { faults.headerReplyBytes = 25; });
    EXPECT_EQ(Run(), DownloadCode::NoHeader);
}

TEST_F(LoggerTransferTest, ACorruptedBlockIsRefusedResentAndAccepted) {
    Fault([](auto& faults) { faults.badChecksumBlock = 1; });
    EXPECT_EQ(Run(), DownloadCode::Success);
    EXPECT_EQ(counters.retries, 1);
    EXPECT_EQ(meter.Count(std::string("n\x03WN", 4)), 1);
    EXPECT_EQ(view.progress, (std::vector<int>{32, 64, 96, 128}))
        << "the counters move on accepted blocks only";
    EXPECT_EQ(image.mid(256, 98), Recorded(98));
}

TEST_F(LoggerTransferTest, NoiseInsideABlockCostsOneRetry) {
    Fault([](auto& faults) { faults.noisyBlock = 2; });
    EXPECT_EQ(Run(), DownloadCode::Success);
    EXPECT_EQ(counters.retries, 1);
    EXPECT_EQ(image.mid(256, 98), Recorded(98));
}

TEST_F(LoggerTransferTest, APartBlockIsRefusedAfterOneAndAHalfSecondsAndSentAgain) {
    bool cutNext = false;
    rig.comm2.AddDevice("/dev/ttyKR0", [&](const QByteArray& written) {
        QByteArray reply = meter.Answer(written);
        if (cutNext && reply.size() == 35) {
            cutNext = false;
            reply.truncate(20);
        }
        return reply;
    });
    // The acknowledgement of the first block is out before its progress shows: cut the third.
    view.onProgress = [&](int bytes) { cutNext = bytes == 32; };
    EXPECT_EQ(Run(), DownloadCode::Success);
    EXPECT_EQ(counters.retries, 1);
    EXPECT_EQ(image.mid(256, 98), Recorded(98));
    ASSERT_EQ(view.progressTimes.size(), 4u);
    const auto waited = view.progressTimes[2] - view.progressTimes[1];
    EXPECT_GT(waited, 1500ms);
    EXPECT_LT(waited, 1510ms);
}

TEST_F(LoggerTransferTest, TheTwentyFirstRefusedBlockEndsTheTransfer) {
    Fault([](auto& faults) {
        faults.badChecksumBlock = 2;
        faults.badChecksumEveryTime = true;
    });
    EXPECT_EQ(Run(), DownloadCode::ShortTransfer);
    EXPECT_EQ(counters.retries, 21);
    EXPECT_EQ(counters.receivedBytes, 64);
}

TEST_F(LoggerTransferTest, AMeterThatStopsHalfWayGivesAShortTransferAfterThreeSilentSeconds) {
    Fault([](auto& faults) { faults.silentAfterBlock = 1; });
    EXPECT_EQ(Run(), DownloadCode::ShortTransfer);
    EXPECT_EQ(counters.receivedBytes, 64);
    ASSERT_EQ(view.progressTimes.size(), 2u);
    EXPECT_EQ(view.closedAt - view.progressTimes.back(), 3000ms);
}

TEST_F(LoggerTransferTest, APortFailingUnderTheTransferEndsItWithWhatCameAndIsReported) {
    testing::LinkLogCapture log;
    view.onProgress = [&](int bytes) {
        if (bytes == 64) rig.comm2.FailReads("Input/output error");
    };
    EXPECT_EQ(Run(), DownloadCode::ShortTransfer);
    EXPECT_EQ(counters.receivedBytes, 64);
    EXPECT_TRUE(view.closed);
    ASSERT_EQ(log.messages.size(), 1);
    EXPECT_TRUE(log.messages.first().contains("Input/output error"));
}

}  // namespace
}  // namespace kr820::link
