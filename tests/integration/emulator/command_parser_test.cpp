// SPDX-License-Identifier: MIT
// The meter's receiver: which byte streams become commands and which bytes are thrown away.
#include "command_parser.h"

#include <gtest/gtest.h>

#include <vector>

#include "hex.h"

namespace kr820::emulator {
namespace {

using testing::FromHex;
using Bodies = std::vector<std::string>;

TEST(CommandParser, RecognisesEveryCommandTheApplicationSends) {
    // Wire frames as the application writes them, back to back in one read.
    const std::string stream = FromHex(
        "024BCB03"  // K
        "0241C103"  // A
        "024FCF03"  // O
        "02774520202020363400323535"
        "00C203"                                  // wE, address 64, value 255
        "0257525443323430313331323335393539AC03"  // WRTC240131235959
        "02524F5054C503"                          // ROPT
        "02434C524DAE03"                          // CLRM
        "02484541449203"                          // HEAD
        "02444F574EB803"                          // DOWN
        "027903574EA103"                          // block accepted
        "026E03574E9603"                          // block refused
        "02AAAA03");                              // abort
    CommandParser parser;
    const Bodies bodies = parser.Feed(stream);
    EXPECT_EQ(bodies, (Bodies{"K", "A", "O",
                              std::string("wE    64\0"
                                          "255\0",
                                          13),
                              "WRTC240131235959", "ROPT", "CLRM", "HEAD", "DOWN",
                              std::string("y\x03WN"), std::string("n\x03WN"), "\xAA"}));
    EXPECT_EQ(parser.DroppedBytes(), 0u);
    EXPECT_FALSE(parser.HasPending());
}

TEST(CommandParser, FrameSplitAcrossReadsIsCutWhenItsLastByteArrives) {
    CommandParser parser;
    // The ETX inside the block answer's body must not end the frame.
    EXPECT_TRUE(parser.Feed(FromHex("027903")).empty());
    EXPECT_TRUE(parser.Feed(FromHex("574EA1")).empty());
    EXPECT_EQ(parser.Feed(FromHex("03"
                                  "0241")),
              Bodies{std::string("y\x03WN")});
    EXPECT_EQ(parser.Feed(FromHex("C103")), Bodies{"A"});
}

TEST(CommandParser, DamagedFramesCostOneByteAndTheNextFrameStillCounts) {
    const struct {
        const char* what;
        const char* damaged;
        std::size_t dropped;
    } cases[] = {
        {"junk", "FF55", 2},
        {"stray STX", "02", 1},
        {"wrong checksum", "0241C003", 4},
        {"missing ETX", "0241C104", 4},
        {"unknown command", "025ADA03", 4},
        {"one-letter body with a four-letter checksum", "0252D203", 4},
    };
    for (const auto& c : cases) {
        CommandParser parser;
        EXPECT_EQ(parser.Feed(FromHex(c.damaged) + FromHex("0241C103")), Bodies{"A"}) << c.what;
        EXPECT_EQ(parser.DroppedBytes(), c.dropped) << c.what;
        EXPECT_FALSE(parser.HasPending()) << c.what;
    }
}

TEST(CommandParser, AbandoningAStalledFrameRecoversTheFramesBehindIt) {
    CommandParser parser;
    // The start of a clock frame swallows the poll behind it until 19 bytes are there.
    EXPECT_TRUE(parser
                    .Feed(FromHex("0257"
                                  "0241C103"))
                    .empty());
    EXPECT_TRUE(parser.HasPending());
    EXPECT_EQ(parser.AbandonPending(), Bodies{"A"});
    EXPECT_FALSE(parser.HasPending());
}

TEST(CommandParser, WholeFramesComeOutAsTheyCameWithoutTheJunkAroundThem) {
    CommandParser parser;
    const std::string write = FromHex("0277452020202036350020343200AD03");
    EXPECT_EQ(parser.FeedFrames(FromHex("FF02") + write.substr(0, 9)), Bodies{});
    EXPECT_EQ(parser.FeedFrames(write.substr(9) + FromHex("0257"
                                                          "02AAAA03")),
              Bodies{write});
    EXPECT_EQ(parser.AbandonPendingFrames(), Bodies{FromHex("02AAAA03")});
}

}  // namespace
}  // namespace kr820::emulator
