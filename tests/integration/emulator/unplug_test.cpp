// SPDX-License-Identifier: MIT
// The meter unplugged and plugged back, seen through the stable link an application opens.
#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <string>

#include "hex.h"
#include "line_fixture.h"
#include "meter_emulator.h"
#include "slave_line.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::kLivePoll;
using testing::kModelQuery;
using testing::SlaveLine;
using testing::ToHex;

std::string LinkTarget(const std::string& link) {
    char target[256] = {};
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    return length > 0 ? std::string(target, static_cast<std::size_t>(length)) : std::string{};
}

std::string Ask(SlaveLine* line, const std::string& frame, std::size_t expectedBytes) {
    EXPECT_TRUE(line->Write(frame));
    return line->Read(expectedBytes, 1s);
}

class UnpluggedMeter : public ::testing::Test {
protected:
    void SetUp() override {
        char folderTemplate[] = "/tmp/kr820-unplug-test-XXXXXX";
        ASSERT_NE(mkdtemp(folderTemplate), nullptr);
        m_folder = folderTemplate;
        m_link = m_folder + "/meter";
    }
    void TearDown() override {
        m_emulator.Stop();
        unlink(m_link.c_str());
        rmdir(m_folder.c_str());
    }

    MeterEmulator m_emulator;
    std::string m_folder;
    std::string m_link;
};

TEST_F(UnpluggedMeter, OpenPortHangsUpAndTheLinkAnswersAgainAfterPlug) {
    std::string error;
    ASSERT_TRUE(m_emulator.Start(&error)) << error;
    ASSERT_TRUE(m_emulator.MakeSymlink(m_link, &error)) << error;
    MeterState state;
    state.t2.tenthsC = 777;
    m_emulator.SetState(state);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        SlaveLine before(m_link);
        ASSERT_TRUE(before.IsOpen());
        EXPECT_EQ(ToHex(Ask(&before, kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));

        m_emulator.Unplug();
        EXPECT_TRUE(m_emulator.IsRunning());
        EXPECT_FALSE(m_emulator.IsPlugged());
        EXPECT_EQ(m_emulator.DevicePath(), "");
        EXPECT_TRUE(before.WaitForHangUp(1s));
        EXPECT_FALSE(SlaveLine(m_link).IsOpen());  // nothing behind the name, as with a cable out
        EXPECT_FALSE(m_emulator.MakeSymlink(m_folder + "/other", &error));

        ASSERT_TRUE(m_emulator.Plug(&error)) << error;
        EXPECT_TRUE(m_emulator.IsPlugged());
        EXPECT_FALSE(m_emulator.Plug(&error));  // once is enough
        EXPECT_EQ(LinkTarget(m_link), m_emulator.DevicePath());
        SlaveLine after(m_link);
        ASSERT_TRUE(after.IsOpen());
        EXPECT_EQ(ToHex(Ask(&after, kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));
        // The meter itself came back unchanged.
        EXPECT_EQ(ToHex(Ask(&after, kLivePoll, kLiveFrameBytes)), ToHex(EncodeLiveFrame(state)));
    }

    m_emulator.Stop();
    EXPECT_EQ(LinkTarget(m_link), "");
}

TEST_F(UnpluggedMeter, StoppedWhileUnpluggedAndNeverStarted) {
    std::string error;
    EXPECT_FALSE(m_emulator.Plug(&error));
    EXPECT_FALSE(error.empty());
    m_emulator.Unplug();  // nothing to pull: no effect
    EXPECT_FALSE(m_emulator.IsRunning());

    ASSERT_TRUE(m_emulator.Start(&error)) << error;
    ASSERT_TRUE(m_emulator.MakeSymlink(m_link, &error)) << error;
    m_emulator.Unplug();
    m_emulator.Stop();
    EXPECT_FALSE(m_emulator.IsRunning());
    EXPECT_FALSE(m_emulator.Plug(&error));

    // A later start makes a new device and leaves the old link name free.
    ASSERT_TRUE(m_emulator.Start(&error)) << error;
    EXPECT_TRUE(m_emulator.IsPlugged());
    EXPECT_EQ(LinkTarget(m_link), "");
}

}  // namespace
}  // namespace kr820::emulator
