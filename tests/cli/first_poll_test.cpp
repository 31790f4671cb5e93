// SPDX-License-Identifier: MIT
// The command line's session polls the meter as soon as it has answered the model query, on the
// port that answered, with the same bytes the desktop sends; devices that do not answer are
// given the whole reply limit as before. On a scripted port and a jumping clock: the times are
// the test's own.
#include <gtest/gtest.h>

#include <QBuffer>

#include "cli/meter_session.h"
#include "core/protocol/command_frame.h"
#include "core/protocol/command_table.h"
#include "core/protocol/exchange_limits.h"
#include "scripted_meter.h"
#include "scripted_port.h"

namespace kr820::testing {
namespace {

using namespace std::chrono_literals;

struct SessionRig {
    SessionRig() : comm1(clock), session(comm1, clock, io, core::kExchangeLimits.tick) {
        out.open(QIODevice::ReadWrite);
        err.open(QIODevice::ReadWrite);
        comm1.answerDelay = 20ms;  // the meter takes its time over each answer
    }
    // The clock's time between the `first` write and the one after it.
    std::chrono::milliseconds Gap(std::size_t first) const {
        const auto& writes = comm1.Writes();
        return std::chrono::duration_cast<std::chrono::milliseconds>(writes.at(first + 1).at -
                                                                     writes.at(first).at);
    }

    JumpingClock clock;
    ScriptedPort comm1;
    QBuffer out;
    QBuffer err;
    cli::CliIo io{out, err, false};
    cli::MeterSession session;
};

TEST(CliFirstPoll, FollowsTheModelReplyOnThePortThatAnswered) {
    SessionRig rig;
    ScriptedMeter meter;
    rig.comm1.AddDevice("/dev/ttyKR0", meter.Answerer());
    int readings = 0;
    rig.session.OnReading(core::ReadingStage::Display,
                          [&](const core::LiveReading&) { ++readings; });

    ASSERT_TRUE(rig.session.Find({"/dev/ttyKR0"}));

    const auto& writes = rig.comm1.Writes();
    ASSERT_EQ(writes.size(), 2u);
    EXPECT_EQ(writes[0].bytes, core::FrameCommand("K"));
    EXPECT_EQ(writes[1].bytes, core::FrameCommand("A"));
    // The poll goes out as soon as the reply is in, not after the reply's limit and a reopen.
    EXPECT_GE(rig.Gap(0), rig.comm1.answerDelay);
    EXPECT_LE(rig.Gap(0), rig.comm1.answerDelay + 1ms);
    EXPECT_EQ(rig.comm1.Opens(), 1) << "the port that answered stays open";

    // Its frame is the first reading.
    rig.clock.Advance(rig.comm1.answerDelay);
    rig.comm1.DeliverRxChar();
    EXPECT_EQ(readings, 1);
}

TEST(CliFirstPoll, SilentDevicesStillGetTheWholeReplyLimit) {
    SessionRig rig;
    ScriptedMeter mute;
    mute.silent = true;
    ScriptedMeter meter;
    rig.comm1.AddDevice("/dev/ttyKR0", mute.Answerer());
    rig.comm1.AddDevice("/dev/ttyKR1", meter.Answerer());

    ASSERT_TRUE(rig.session.Find({"/dev/ttyKR0", "/dev/ttyKR1"}));

    const auto& writes = rig.comm1.Writes();
    ASSERT_EQ(writes.size(), 3u);
    EXPECT_EQ(writes[0].device, "/dev/ttyKR0");
    EXPECT_EQ(writes[1].device, "/dev/ttyKR1");
    // The mute device's wait runs out; the next one rests before it is opened.
    EXPECT_EQ(rig.Gap(0), core::kModelQuery.replyLimit + core::kExchangeLimits.searchSettle);
    EXPECT_EQ(writes[2].bytes, core::FrameCommand("A"));
    EXPECT_LE(rig.Gap(1), rig.comm1.answerDelay + 1ms);
}

TEST(CliFirstPoll, WithoutAMeterTheRememberedPortIsReopenedAndPolled) {
    SessionRig rig;
    ScriptedMeter mute;
    mute.silent = true;
    rig.comm1.AddDevice("/dev/ttyKR0", mute.Answerer());

    EXPECT_FALSE(rig.session.Find({"/dev/ttyKR0"}));

    // As the desktop does: the supervision goes on polling the device for a meter switched on
    // later.
    EXPECT_TRUE(rig.comm1.Active());
    EXPECT_EQ(mute.bodies, (std::vector<std::string>{"K", "A"}));
    EXPECT_EQ(rig.Gap(0), core::kModelQuery.replyLimit + core::kExchangeLimits.reopenSettle);
}

}  // namespace
}  // namespace kr820::testing
