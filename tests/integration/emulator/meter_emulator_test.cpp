// SPDX-License-Identifier: MIT
// The running emulator seen from the application's end of the pseudo-terminal. Every read has a
// time limit, so a meter that does not answer fails a test instead of hanging it.
#include "meter_emulator.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <fstream>
#include <memory>
#include <thread>

#include "hex.h"
#include "line_fixture.h"
#include "slave_line.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::FromHex;
using testing::SlaveLine;
using testing::ToHex;

using testing::kLivePoll;
using testing::kModelQuery;

class RunningEmulator : public testing::EmulatorOnLine {};

TEST_F(RunningEmulator, SlaveIsRawBeforeTheApplicationSetsItUp) {
    termios settings{};
    ASSERT_EQ(tcgetattr(m_line->Fd(), &settings), 0);
    // Echo would bounce commands back; canonical mode would hold replies until a newline;
    // ISIG would turn the ETX byte into an interrupt; ICRNL, IXON and OPOST would rewrite or
    // swallow 0x0D, 0x11 and 0x13 inside temperatures.
    EXPECT_EQ(settings.c_lflag & (ECHO | ICANON | ISIG | IEXTEN), 0u);
    EXPECT_EQ(settings.c_iflag & (ICRNL | IXON | ISTRIP), 0u);
    EXPECT_EQ(settings.c_oflag & OPOST, 0u);
}

TEST_F(RunningEmulator, ModelQueryGetsTheModelReplyAndNothingElse) {
    EXPECT_EQ(ToHex(Exchange(kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));
    EXPECT_EQ(m_emulator.ReceivedBodies(), std::vector<std::string>{"K"});
    EXPECT_EQ(m_emulator.BytesReceived(), 4u);
}

TEST_F(RunningEmulator, LivePollReportsTheStateOfThatMoment) {
    MeterState state;
    // Temperatures whose bytes a line discipline would eat or rewrite.
    state.t1.tenthsC = 0x0D11;
    state.t2.tenthsC = 0x1303;
    state.t1.relTenthsC = 0x7F0A;
    state.t2.invalid = 0x03;
    state.statusB = kStatusBRecording;
    m_emulator.SetState(state);
    EXPECT_EQ(ToHex(Exchange(kLivePoll, kLiveFrameBytes)), ToHex(EncodeLiveFrame(state)));

    state.t1.tenthsC = -125;
    m_emulator.SetState(state);
    const std::string frame = Exchange(kLivePoll, kLiveFrameBytes);
    ASSERT_EQ(frame.size(), kLiveFrameBytes);
    EXPECT_EQ(ToHex(frame.substr(3, 2)), "FF83");
}

TEST_F(RunningEmulator, LivePollCarriesTheMotionNotJustTheScript) {
    Motion motion;
    motion.t2OutOfRangeAfter = 0ms;
    m_emulator.SetMotion(motion);
    const std::string frame = Exchange(kLivePoll, kLiveFrameBytes);
    ASSERT_EQ(frame.size(), kLiveFrameBytes);
    EXPECT_EQ(ToHex(frame.substr(5, 2)), "7FFF");   // T2 far out of range
    EXPECT_EQ(ToHex(frame.substr(19, 2)), "0100");  // and flagged; T1 still valid
    EXPECT_EQ(ToHex(frame), ToHex(EncodeLiveFrame(m_emulator.ReportedState())));
}

TEST_F(RunningEmulator, DamagedFramesAreSkippedAndTheNextGoodFrameIsAnswered) {
    const std::string damaged = FromHex(
        "FF55"
        "0241C003"
        "0241C1");  // junk, bad sum, no ETX
    EXPECT_EQ(ToHex(Exchange(damaged + kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));
    EXPECT_EQ(m_emulator.ReceivedBodies(), std::vector<std::string>{"K"});
}

TEST_F(RunningEmulator, BlockAnswerWithAnEtxInsideIsOneCommand) {
    // Recognised but not answered, so the poll behind it gets the only reply.
    EXPECT_EQ(Exchange(FromHex("027903574EA103") + kLivePoll, kLiveFrameBytes).size(),
              kLiveFrameBytes);
    EXPECT_EQ(m_emulator.ReceivedBodies(), (std::vector<std::string>{"y\x03WN", "A"}));
}

TEST_F(RunningEmulator, StalledPartialFrameDoesNotBlockTheNextCommand) {
    // A clock frame cut short after two bytes would otherwise swallow the poll behind it.
    ASSERT_TRUE(m_line->Write(FromHex("0257") + kLivePoll));
    EXPECT_EQ(m_line->Read(kLiveFrameBytes, 2s).size(), kLiveFrameBytes);
}

TEST_F(RunningEmulator, SilentMeterReceivesButNeverAnswers) {
    m_emulator.SetSilent(true);
    ASSERT_TRUE(m_line->Write(kModelQuery + kLivePoll));
    for (int waited = 0; m_emulator.ReceivedBodies().size() < 2 && waited < 100; ++waited) {
        std::this_thread::sleep_for(10ms);
    }
    EXPECT_EQ(m_emulator.ReceivedBodies(), (std::vector<std::string>{"K", "A"}));
    EXPECT_EQ(m_line->ReadAll(300ms), "");

    m_emulator.SetSilent(false);
    EXPECT_EQ(ToHex(Exchange(kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));
}

TEST_F(RunningEmulator, PortCanBeClosedAndReopened) {
    for (int round = 0; round < 3; ++round) {
        m_line->Close();
        m_line = std::make_unique<SlaveLine>(m_emulator.DevicePath());
        ASSERT_TRUE(m_line->IsOpen()) << "round " << round;
        EXPECT_EQ(ToHex(Exchange(kModelQuery, kModelReplyBytes)), ToHex(ModelReply()))
            << "round " << round;
    }
}

TEST(MeterEmulatorLink, SymlinkFollowsTheDeviceAndGoesAwayWithStop) {
    char folderTemplate[] = "/tmp/kr820-emulator-test-XXXXXX";
    const std::string folder = mkdtemp(folderTemplate);
    const std::string link = folder + "/meter";
    const std::string file = folder + "/notes";
    std::ofstream(file) << "keep me";
    ASSERT_EQ(symlink("/dev/null", link.c_str()), 0);  // left behind by an earlier run

    MeterEmulator emulator;
    std::string error;
    EXPECT_FALSE(emulator.MakeSymlink(link, &error));  // not running yet
    ASSERT_TRUE(emulator.Start(&error)) << error;
    ASSERT_TRUE(emulator.MakeSymlink(link, &error)) << error;
    char target[256] = {};
    ASSERT_GT(readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), emulator.DevicePath());

    EXPECT_FALSE(emulator.MakeSymlink(file, &error));
    struct stat info {};
    ASSERT_EQ(lstat(file.c_str(), &info), 0);
    EXPECT_TRUE(S_ISREG(info.st_mode));

    emulator.Stop();
    EXPECT_NE(lstat(link.c_str(), &info), 0);
    unlink(file.c_str());
    rmdir(folder.c_str());
}

}  // namespace
}  // namespace kr820::emulator
