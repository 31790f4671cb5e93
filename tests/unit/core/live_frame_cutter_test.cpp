// SPDX-License-Identifier: MIT
#include "core/protocol/live_frame_cutter.h"

#include <gtest/gtest.h>

#include <vector>

namespace kr820::core {
namespace {

QByteArray Frame(char marker) {
    QByteArray frame(kLiveFrameBytes, marker);
    frame[0] = 0x02;
    frame[kLiveFrameBytes - 1] = 0x03;
    return frame;
}

std::vector<QByteArray> Cut(QByteArray& buffer) {
    std::vector<QByteArray> frames;
    CutLiveFrames(buffer, [&](const QByteArray& frame) { frames.push_back(frame); });
    return frames;
}

TEST(LiveFrameCutter, TwoFramesInOneChunkComeOutInOrder) {
    QByteArray buffer = Frame('a') + Frame('b');
    const auto frames = Cut(buffer);
    ASSERT_EQ(frames.size(), 2u);
    EXPECT_EQ(frames[0], Frame('a'));
    EXPECT_EQ(frames[1], Frame('b'));
    EXPECT_TRUE(buffer.isEmpty());
}

TEST(LiveFrameCutter, AFrameSplitOverTwoChunksWaitsForItsLastByte) {
    const QByteArray whole = Frame('a');
    QByteArray buffer = whole.left(10);
    EXPECT_TRUE(Cut(buffer).empty());
    EXPECT_EQ(buffer, whole.left(10));
    buffer += whole.mid(10);
    EXPECT_EQ(Cut(buffer).size(), 1u);
}

TEST(LiveFrameCutter, ABrokenFrameCostsOneByteThenTheScanFindsTheNextStx) {
    QByteArray broken = Frame('x');
    broken[kLiveFrameBytes - 1] = 0x05;
    QByteArray buffer = broken + Frame('b');
    const auto frames = Cut(buffer);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0], Frame('b'));
    EXPECT_TRUE(buffer.isEmpty());
}

TEST(LiveFrameCutter, JunkWithoutStxIsDroppedAndJunkBeforeAFrameIsSkipped) {
    QByteArray junk(30, 'z');
    EXPECT_TRUE(Cut(junk).empty());
    EXPECT_TRUE(junk.isEmpty());

    QByteArray buffer = QByteArray("zzz") + Frame('a') + QByteArray("\x02zz");
    EXPECT_EQ(Cut(buffer).size(), 1u);
    EXPECT_EQ(buffer, QByteArray("\x02zz")) << "a partial frame stays for the next event";
}

}  // namespace
}  // namespace kr820::core
