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
        folder_ = folderTemplate;
        link_ = folder_ + "/meter";
    }
    void TearDown() override {
        emulator_.Stop();
        unlink(link_.c_str());
        rmdir(folder_.c_str());
    }

    MeterEmulator emulator_;
    std::string folder_;
    std::string link_;
};

TEST_F(UnpluggedMeter, OpenPortHangsUpAndTheLinkAnswersAgainAfterPlug) {
    std::string error;
    ASSERT_TRUE(emulator_.Start(&error)) << error;
    ASSERT_TRUE(emulator_.MakeSymlink(link_, &error)) << error;
    MeterState state;
    state.t2.tenthsC = 777;
    emulator_.SetState(state);

    for (int round = 0; round < 2; ++round) {
        SCOPED_TRACE(round);
        SlaveLine before(link_);
        ASSERT_TRUE(before.IsOpen());
        EXPECT_EQ(ToHex(Ask(&before, kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));

        emulator_.Unplug();
        EXPECT_TRUE(emulator_.IsRunning());
        EXPECT_FALSE(emulator_.IsPlugged());
        EXPECT_EQ(emulator_.DevicePath(), "");
        EXPECT_TRUE(before.WaitForHangUp(1s));
        EXPECT_FALSE(SlaveLine(link_).IsOpen());  // nothing behind the name, as with a cable out
        EXPECT_FALSE(emulator_.MakeSymlink(folder_ + "/other", &error));

        ASSERT_TRUE(emulator_.Plug(&error)) << error;
        EXPECT_TRUE(emulator_.IsPlugged());
        EXPECT_FALSE(emulator_.Plug(&error));  // once is enough
        EXPECT_EQ(LinkTarget(link_), emulator_.DevicePath());
        SlaveLine after(link_);
        ASSERT_TRUE(after.IsOpen());
        EXPECT_EQ(ToHex(Ask(&after, kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));
        // The meter itself came back unchanged.
        EXPECT_EQ(ToHex(Ask(&after, kLivePoll, kLiveFrameBytes)), ToHex(EncodeLiveFrame(state)));
    }

    emulator_.Stop();
    EXPECT_EQ(LinkTarget(link_), "");
}

TEST_F(UnpluggedMeter, StoppedWhileUnpluggedAndNeverStarted) {
    std::string error;
    EXPECT_FALSE(emulator_.Plug(&error));
    EXPECT_FALSE(error.empty());
    emulator_.Unplug();  // nothing to pull: no effect
    EXPECT_FALSE(emulator_.IsRunning());

    ASSERT_TRUE(emulator_.Start(&error)) << error;
    ASSERT_TRUE(emulator_.MakeSymlink(link_, &error)) << error;
    emulator_.Unplug();
    emulator_.Stop();
    EXPECT_FALSE(emulator_.IsRunning());
    EXPECT_FALSE(emulator_.Plug(&error));

    // A later start makes a new device and leaves the old link name free.
    ASSERT_TRUE(emulator_.Start(&error)) << error;
    EXPECT_TRUE(emulator_.IsPlugged());
    EXPECT_EQ(LinkTarget(link_), "");
}

}  // namespace
}  // namespace kr820::emulator
