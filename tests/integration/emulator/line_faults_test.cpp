// SPDX-License-Identifier: MIT
// Faults switched on in the emulator, as the application's end of the line receives them.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "hex.h"
#include "line_fixture.h"
#include "live_reply.h"
#include "meter_emulator.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono_literals;
using testing::FromHex;
using testing::kLivePoll;
using testing::kModelQuery;
using testing::ToHex;

class LineFaults : public testing::EmulatorOnLine {
protected:
    void SetUp() override {
        EmulatorOnLine::SetUp();
        m_state.t1.tenthsC = -125;
        m_state.statusB = kStatusBRecording;
        m_emulator.SetState(m_state);
    }

    std::string Frame() const { return EncodeLiveFrame(m_state); }
    std::string DamagedFrame() const {
        std::string frame = Frame();
        frame.back() = kWrongLastByte;
        return frame;
    }

    MeterState m_state;
};

TEST_F(LineFaults, ModelReplyGoesOutExactlyAsGiven) {
    for (const std::string& reply : {FromHex("024B383230"), std::string("x820xx")}) {
        m_emulator.SetModelReply(reply);
        EXPECT_EQ(ToHex(Exchange(kModelQuery, reply.size())), ToHex(reply));
    }
    EXPECT_EQ(ToHex(Exchange(kLivePoll, kLiveFrameBytes)), ToHex(Frame()));
}

TEST_F(LineFaults, NoiseGoesInFrontOfEveryLiveFrameOnly) {
    const std::string noise = FromHex("FF0255");
    m_emulator.SetNoise(noise);
    EXPECT_EQ(ToHex(Exchange(kLivePoll, noise.size() + kLiveFrameBytes)), ToHex(noise + Frame()));
    EXPECT_EQ(ToHex(Exchange(kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));

    m_emulator.SetDoubleFrames(true);
    const std::string twice = noise + Frame() + noise + Frame();
    EXPECT_EQ(ToHex(Exchange(kLivePoll, twice.size())), ToHex(twice));

    m_emulator.SetNoise({});
    m_emulator.SetDoubleFrames(false);
    EXPECT_EQ(ToHex(Exchange(kLivePoll, kLiveFrameBytes)), ToHex(Frame()));
}

TEST_F(LineFaults, WrongLastByteSpoilsOnlyTheNextFramesAndNothingElse) {
    m_emulator.SetWrongLastByte(2);
    EXPECT_EQ(ToHex(Exchange(kModelQuery, kModelReplyBytes)), ToHex(ModelReply()));
    EXPECT_EQ(ToHex(Exchange(kLivePoll, kLiveFrameBytes)), ToHex(DamagedFrame()));
    EXPECT_EQ(ToHex(Exchange(kLivePoll, kLiveFrameBytes)), ToHex(DamagedFrame()));
    EXPECT_EQ(ToHex(Exchange(kLivePoll, kLiveFrameBytes)), ToHex(Frame()));

    // Counted in frames, not polls: a double answer spends one on its first frame.
    m_emulator.SetDoubleFrames(true);
    m_emulator.SetWrongLastByte(1);
    EXPECT_EQ(ToHex(Exchange(kLivePoll, 2 * kLiveFrameBytes)), ToHex(DamagedFrame() + Frame()));
    EXPECT_EQ(ToHex(Exchange(kLivePoll, 2 * kLiveFrameBytes)), ToHex(Frame() + Frame()));
}

TEST_F(LineFaults, SplitFrameArrivesInPiecesAndWhole) {
    // Gaps far longer than the program's few milliseconds, so that a busy machine still lets
    // the reader see the first piece alone.
    m_emulator.SetSplitGap(80ms);
    ASSERT_TRUE(m_line->Write(kLivePoll));
    const std::string first = m_line->ReadOnce(1s);
    EXPECT_EQ(first.size(), kSplitPieceBytes);
    const std::string rest = m_line->Read(kLiveFrameBytes - first.size(), 2s);
    EXPECT_EQ(ToHex(first + rest), ToHex(Frame()));
    EXPECT_EQ(m_line->ReadAll(100ms), "");

    m_emulator.SetSplitGap(0ms);
    ASSERT_TRUE(m_line->Write(kLivePoll));
    EXPECT_EQ(ToHex(m_line->Read(kLiveFrameBytes, 1s)), ToHex(Frame()));
}

}  // namespace
}  // namespace kr820::emulator
