// SPDX-License-Identifier: MIT
// The logger download's transfer against the emulated meter and its faults.
#include "link/logger_transfer.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>

#include "fake_link_view.h"
#include "link/com_port.h"
#include "link/meter_link.h"
#include "logger_memory_builder.h"
#include "running_emulator.h"

namespace kr820::link {
namespace {

using core::DownloadCode;
using testing::PathOf;
using testing::StartEmulator;

class RecordingTransferView : public TransferView {
public:
    void ShowBusyCursor(bool busy) override { busyCursor = busy; }
    void ShowTransferProgress(int totalBytes) override { shownTotal = totalBytes; }
    void SetBytesReceived(int bytes) override { progress.push_back(bytes); }
    void RepaintProgress() override { ++repaints; }
    void CloseTransferProgress() override { closed = true; }

    bool busyCursor = false;
    int shownTotal = -1;
    std::vector<int> progress;
    int repaints = 0;
    bool closed = false;
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
    void SetUp() override {
        meter = StartEmulator();
        ASSERT_TRUE(meter->SetMemory(SmallMemory()));
        comm1.SetDeviceName(PathOf(*meter));
        comm1.Open();
    }
    DownloadCode Run(TransferLimits limits = {}) {
        LoggerTransfer transfer(link, comm2, view, limits);
        image = QByteArray(core::kFirstRecordOffset, '\0');
        const DownloadCode code = transfer.TransferMemory(image);
        counters = transfer.Counters();
        return code;
    }
    void Fault(const std::function<void(emulator::DownloadFaults&)>& change) {
        emulator::DownloadFaults faults;
        change(faults);
        meter->SetDownloadFaults(faults);
    }

    std::unique_ptr<emulator::MeterEmulator> meter;
    core::AppState state;
    TComPort comm1, comm2;
    QTimer timer;
    testing::FakeLinkView m_view{{}};
    MeterLink link{state, comm1, timer, m_view};
    RecordingTransferView view;
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
    const QByteArray memory = QByteArray::fromStdString(meter->Memory());
    EXPECT_EQ(image.mid(256, 98), memory.mid(256, 98));
    EXPECT_FALSE(comm1.Active()) << "the live port stays closed until the caller hands back";
    EXPECT_TRUE(comm2.Active());
}

TEST_F(LoggerTransferTest, AnEmptyMemoryOrAnOversizedOneHasNothingToTransfer) {
    Fault([](auto& faults) { faults.endAddress = 0xFFFF; });
    EXPECT_EQ(Run(), DownloadCode::NothingRecorded);
    Fault([](auto& faults) { faults.endAddress = 0xFFFF + 132001; });
    EXPECT_EQ(Run(), DownloadCode::NothingRecorded);
    EXPECT_EQ(view.shownTotal, -1) << "no progress window without a transfer";
}

TEST_F(LoggerTransferTest, NoHeaderReplyCostsTwoSecondsAndFourRequests) {
    Fault([](auto& faults) { faults.noHeaderReply = true; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Run(), DownloadCode::NoHeader);
    EXPECT_GE(clock.elapsed(), 2000);
    EXPECT_EQ(counters.headerRequests, 4);
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
    EXPECT_EQ(view.progress, (std::vector<int>{32, 64, 96, 128}))
        << "the counters move on accepted blocks only";
    EXPECT_EQ(image.mid(256, 98), QByteArray::fromStdString(meter->Memory()).mid(256, 98));
}

TEST_F(LoggerTransferTest, NoiseInsideABlockCostsOneRetry) {
    Fault([](auto& faults) { faults.noisyBlock = 2; });
    EXPECT_EQ(Run(), DownloadCode::Success);
    EXPECT_EQ(counters.retries, 1);
    EXPECT_EQ(image.mid(256, 98), QByteArray::fromStdString(meter->Memory()).mid(256, 98));
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

TEST_F(LoggerTransferTest, AMeterThatStopsHalfWayGivesAShortTransferAfterItsSilence) {
    Fault([](auto& faults) { faults.silentAfterBlock = 1; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Run(), DownloadCode::ShortTransfer);
    EXPECT_EQ(counters.receivedBytes, 64);
    EXPECT_GE(clock.elapsed(), 3000);
}

}  // namespace
}  // namespace kr820::link
