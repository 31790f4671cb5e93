// SPDX-License-Identifier: MIT
// The emulator's answers pinned byte for byte: the application's decoders are tested against
// these, so a wrong offset here would hide a wrong offset there.
#include "meter_replies.h"

#include <gtest/gtest.h>

#include "hex.h"

namespace kr820::emulator {
namespace {

using testing::ToHex;

TEST(LiveFrameEncoding, PutsEveryFieldAtItsOffset) {
    MeterState state;
    state.statusA = kStatusAAutoPowerOff | kStatusARel | kStatusAT1PointBeforeLastTwo |
                    kStatusAPrinter;  // 0x53
    state.statusB = kStatusBTypeJ | kStatusBRecording | kStatusBModeMax | kStatusBFahrenheit |
                    kStatusBT2OnMain;  // 0xD9
    state.t1 = {253, 10, 200, 300, 0x01};
    state.t2 = {-125, -1, -32768, 32767, 0x02};
    state.spareByte21 = 0x5A;

    EXPECT_EQ(ToHex(EncodeLiveFrame(state)),
              "02"  // STX
              "53"
              "D9"  // status A, status B
              "00FD"
              "FF83"  // T1 25.3, T2 -12.5 (two's complement)
              "000A"
              "FFFF"  // REL references
              "00C8"
              "8000"  // MIN
              "012C"
              "7FFF"  // MAX
              "02"
              "01"    // T2 invalid at 19, T1 invalid at 20
              "5A"    // byte 21 as given
              "03");  // ETX
}

TEST(ModelReply, IsSixBytesHoldingTheModelCode) {
    const std::string reply = ModelReply();
    ASSERT_EQ(reply.size(), kModelReplyBytes);
    EXPECT_NE(reply.find("820"), std::string::npos);
    EXPECT_EQ(ToHex(reply), "024B38323003");
}

}  // namespace
}  // namespace kr820::emulator
