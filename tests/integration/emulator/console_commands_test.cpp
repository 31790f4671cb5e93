// SPDX-License-Identifier: MIT
// Lines typed on the program's standard input, carried out on a running emulator.
#include "console_commands.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "emulator_options.h"
#include "hex.h"
#include "line_fixture.h"
#include "meter_emulator.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::FromHex;
using testing::kLivePoll;
using testing::kModelQuery;
using testing::ToHex;

class Console : public testing::EmulatorOnLine {
protected:
    std::string Run(const std::string& line) {
        const ConsoleReply reply = ExecuteConsoleLine(line, &m_emulator);
        EXPECT_FALSE(reply.quit) << line;
        return reply.text;
    }
};

TEST_F(Console, SetChangesTheMeterField) {
    EXPECT_EQ(Run("set t1 30.5"), "ok");
    EXPECT_EQ(Run("set t2-rel -1.5"), "ok");
    EXPECT_EQ(Run("  set   mode 3 "), "ok");
    EXPECT_EQ(Run("set rel on"), "ok");
    EXPECT_EQ(Run("set printer on"), "ok");
    EXPECT_EQ(Run("set printer off"), "ok");
    EXPECT_EQ(Run("set auto-off off"), "ok");
    EXPECT_EQ(Run("set type-j on"), "ok");
    EXPECT_EQ(Run("set t2-invalid on"), "ok");
    const MeterState state = m_emulator.State();
    EXPECT_EQ(state.t1.tenthsC, 305);
    EXPECT_EQ(state.t1.maxTenthsC, 305);  // the meter's MAX has seen the new reading
    EXPECT_EQ(state.t1.minTenthsC, MeterState{}.t1.minTenthsC);
    EXPECT_EQ(state.t2.relTenthsC, -15);
    EXPECT_EQ(state.statusA, kStatusARel);
    EXPECT_EQ(state.statusB, kStatusBModeMaxMin | kStatusBTypeJ);
    EXPECT_EQ(state.t2.invalid, 1);

    // Under the wave the running extremes take readings in; the scripted ones stay put.
    EXPECT_EQ(Run("wave on"), "ok");
    EXPECT_EQ(Run("set t1 99"), "ok");
    EXPECT_EQ(m_emulator.State().t1.maxTenthsC, 305);
    EXPECT_GE(m_emulator.ReportedState().t1.maxTenthsC, 990 - kT1WaveTenthsC);
}

TEST_F(Console, MistakesAreAnsweredAndChangeNothing) {
    const std::string before = EncodeLiveFrame(m_emulator.State());
    for (const char* line : {"set t1 abc", "set t1", "set t1 1 2", "set mode 4", "set mode -1",
                             "set rel maybe", "set bogus 1", "frobnicate", "silent", "wave yes",
                             "wrong-last-byte -1", "model-reply \\q", "model-reply a b"}) {
        EXPECT_EQ(Run(line).rfind("error: ", 0), 0u) << line;
    }
    EXPECT_EQ(ToHex(EncodeLiveFrame(m_emulator.State())), ToHex(before));
    EXPECT_FALSE(m_emulator.IsSilent());
    EXPECT_FALSE(m_emulator.GetMotion().wave);
    EXPECT_EQ(m_emulator.Faults().wrongLastByteFrames, 0);
    EXPECT_EQ(ToHex(Exchange(kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));
}

TEST_F(Console, SwitchesReachTheEmulator) {
    for (const char* line : {"silent on", "noise on", "split on", "double on", "wrong-last-byte 3",
                             "model-reply \\x02K820"}) {
        EXPECT_EQ(Run(line), "ok") << line;
    }
    EXPECT_TRUE(m_emulator.IsSilent());
    const LiveReplyFaults faults = m_emulator.Faults();
    EXPECT_EQ(faults.noise, kDefaultNoise);
    EXPECT_EQ(faults.splitGap, kDefaultSplitGap);
    EXPECT_TRUE(faults.doubleFrames);
    EXPECT_EQ(faults.wrongLastByteFrames, 3);

    for (const char* line :
         {"silent off", "noise off", "split off", "double off", "wrong-last-byte 0"}) {
        EXPECT_EQ(Run(line), "ok") << line;
    }
    EXPECT_EQ(ToHex(Exchange(kModelQuery, 5)), "024B383230");
    EXPECT_EQ(ToHex(Exchange(kLivePoll, kLiveFrameBytes)),
              ToHex(EncodeLiveFrame(m_emulator.State())));  // one clean frame again
    EXPECT_EQ(Run("model-reply"), "ok");
    EXPECT_EQ(ToHex(Exchange(kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));
}

TEST_F(Console, LoggerMemoryAndDownloadFaults) {
    EXPECT_EQ(Run("memory"), "ok end address 0x101BD, 446 bytes in 14 blocks");  // the default
    EXPECT_EQ(Run("memory generate rate=1,values=1/2"),
              "ok end address 0x10015, 22 bytes in 1 blocks");
    EXPECT_EQ(Run("memory generate empty"), "ok end address 0xFFFF, 0 bytes in 0 blocks");

    for (const char* line :
         {"head-reply off", "head-length 20", "end-address FFFF", "bad-sum-always 3",
          "silent-after-block 5", "block-noise 1", "paced on"}) {
        EXPECT_EQ(Run(line), "ok") << line;
    }
    DownloadFaults expected;
    expected.noHeaderReply = true;
    expected.headerReplyBytes = 20;
    expected.endAddress = 0xFFFF;
    expected.badChecksumBlock = 3;
    expected.badChecksumEveryTime = true;
    expected.silentAfterBlock = 5;
    expected.noisyBlock = 1;
    EXPECT_EQ(m_emulator.GetDownloadFaults(), expected);
    EXPECT_EQ(m_emulator.ByteTime(), kByteTimeAt19200);

    for (const char* line : {"memory generate rate=x", "memory load /nonexistent/m.820",
                             "memory frob", "memory generate", "bad-sum", "bad-sum x",
                             "head-length 1001", "end-address G", "paced maybe"}) {
        EXPECT_EQ(Run(line).rfind("error: ", 0), 0u) << line;
    }
    EXPECT_EQ(m_emulator.GetDownloadFaults(), expected);
    EXPECT_EQ(Run("memory"), "ok end address 0xFFFF, 0 bytes in 0 blocks");

    for (const char* line : {"head-reply on", "head-length off", "end-address off", "bad-sum off",
                             "silent-after-block off", "block-noise off", "paced off"}) {
        EXPECT_EQ(Run(line), "ok") << line;
    }
    EXPECT_EQ(m_emulator.GetDownloadFaults(), DownloadFaults{});
    EXPECT_EQ(m_emulator.ByteTime(), 0ns);
}

TEST_F(Console, SetupFaultsGoOnAndOff) {
    for (const char* line : {"long-setup-reply on", "setup-echo-wrong-at 0",
                             "refuse-setup-from 0x71", "clock-echo-wrong-start on"}) {
        EXPECT_EQ(Run(line), "ok") << line;
    }
    SetupFaults expected;
    expected.longRecordReply = true;
    expected.writeEchoWrongAt = 0;
    expected.refuseWritesFrom = 0x71;
    expected.clockEchoWrongStart = true;
    EXPECT_EQ(m_emulator.GetSetupFaults(), expected);

    for (const char* line :
         {"long-setup-reply", "setup-echo-wrong-at 16", "setup-echo-wrong-at",
          "refuse-setup-from 0x30", "refuse-setup-from x", "clock-echo-wrong-start yes"}) {
        EXPECT_EQ(Run(line).rfind("error: ", 0), 0u) << line;
    }
    EXPECT_EQ(m_emulator.GetSetupFaults(), expected);

    for (const char* line : {"long-setup-reply off", "setup-echo-wrong-at off",
                             "refuse-setup-from off", "clock-echo-wrong-start off"}) {
        EXPECT_EQ(Run(line), "ok") << line;
    }
    EXPECT_EQ(m_emulator.GetSetupFaults(), SetupFaults{});
}

TEST_F(Console, UnplugPlugStatusAndQuit) {
    EXPECT_EQ(Run(""), "");  // a blank line gets no answer, so answers pair with commands
    EXPECT_EQ(Run("unplug"), "ok");
    EXPECT_FALSE(m_emulator.IsPlugged());
    EXPECT_EQ(Run("status").rfind("ok unplugged; t1 25.3 min 20.0 max 30.0", 0), 0u);
    const std::string plugged = Run("plug");
    EXPECT_EQ(plugged, "ok " + m_emulator.DevicePath());
    EXPECT_TRUE(m_emulator.IsPlugged());
    EXPECT_EQ(Run("plug").rfind("error: ", 0), 0u);
    EXPECT_EQ(Run("set t2 -0.5"), "ok");
    EXPECT_NE(Run("status").find("t2 -0.5 min -0.5"), std::string::npos);

    const ConsoleReply quit = ExecuteConsoleLine("quit", &m_emulator);
    EXPECT_TRUE(quit.quit);
    EXPECT_EQ(quit.text, "ok");
}

}  // namespace
}  // namespace kr820::emulator
