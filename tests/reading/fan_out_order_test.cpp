// SPDX-License-Identifier: MIT
// The fan-out hands every reading to its sinks in the written order, whatever order they were
// attached in: the alarms first, so that an alarm reaches the feed before the reading it was
// raised on goes out (with it), and a lost meter's alarm is known when the feed hears the loss.
#include <gtest/gtest.h>

#include <QDateTime>
#include <memory>

#include "core/alarms/alarm_engine.h"
#include "core/live/reading_fan_out.h"
#include "feeds/feed_alarms.h"
#include "feeds/feed_reading.h"

namespace kr820 {
namespace {

using core::ReadingStage;

core::LiveReading ReadingAt(float t1, qint64 ms) {
    core::LiveReading reading;
    reading.Celsius[0] = t1;
    reading.ReadAtMs = ms;
    return reading;
}

TEST(ReadingFanOutTest, SinksTakeEachEventByStageNotByAttaching) {
    core::ReadingFanOut fanOut;
    QObject owner;
    std::vector<std::string> calls;
    const auto sink = [&](const std::string& name) {
        return core::ReadingSink{
            .Reading = [&calls, name](const core::LiveReading&) { calls.push_back(name); },
            .LinkLost = [&calls, name](qint64) { calls.push_back(name + " lost"); },
            .LinkRestored = [&calls, name](qint64) { calls.push_back(name + " back"); }};
    };
    fanOut.Attach(ReadingStage::Display, &owner, sink("display"));
    fanOut.Attach(ReadingStage::Feeds, &owner, sink("feeds"));
    fanOut.Attach(ReadingStage::Recording, &owner, sink("recording"));
    fanOut.Attach(ReadingStage::Alarms, &owner, sink("alarms"));
    fanOut.Attach(ReadingStage::Alarms, &owner, sink("alarms 2"));

    fanOut.Publish(ReadingAt(20, 1000));
    fanOut.PublishLinkLost(2000);
    fanOut.PublishLinkRestored(3000);
    EXPECT_EQ(calls,
              (std::vector<std::string>{
                  "alarms", "alarms 2", "recording", "feeds", "display",  //
                  "alarms lost", "alarms 2 lost", "recording lost", "feeds lost",
                  "display lost",  //
                  "alarms back", "alarms 2 back", "recording back", "feeds back", "display back"}));
}

TEST(ReadingFanOutTest, ASinkGoesWithItsOwnerEvenWhileAnEventGoesRound) {
    core::ReadingFanOut fanOut;
    auto later = std::make_unique<QObject>();
    QObject owner;
    int laterCalls = 0;
    int added = 0;
    // The alarms' sink ends the display's owner, and attaches a sink of its own stage.
    fanOut.Attach(ReadingStage::Alarms, &owner, {.Reading = [&](const core::LiveReading&) {
                      later.reset();
                      if (added++ == 0)
                          fanOut.Attach(ReadingStage::Alarms, &owner,
                                        {.Reading = [&](const core::LiveReading&) { ++added; }});
                  }});
    fanOut.Attach(ReadingStage::Display, later.get(),
                  {.Reading = [&](const core::LiveReading&) { ++laterCalls; }});
    fanOut.Publish(ReadingAt(20, 1000));
    EXPECT_EQ(laterCalls, 0) << "its owner went before the event reached it";
    EXPECT_EQ(added, 1) << "a sink attached while the event went round takes the next one";
    fanOut.Publish(ReadingAt(20, 2000));
    EXPECT_EQ(added, 3);
}

// The feed is attached before the alarms: it still hears of the alarm the reading raised with
// that very reading, and of a lost meter's alarm with the loss.
TEST(ReadingFanOutTest, AnAlarmReachesTheFeedBeforeTheReadingItWasRaisedOn) {
    core::AlarmSettings settings;
    settings.Channels[0].High = {.On = true, .Limit = 30.0};
    settings.MeterLost = true;
    settings.LimitUnit = core::DisplayUnit::Celsius;
    core::AlarmEngine engine(settings);

    core::ReadingFanOut fanOut;
    QObject owner;
    struct Fed {
        std::optional<double> t1;
        bool highActive;
    };
    std::vector<Fed> fed;
    std::vector<bool> lostActiveAtLoss;
    const core::AlarmId high{core::AlarmKind::High, core::AlarmChannel::T1};
    const core::AlarmId lost{core::AlarmKind::MeterLost, core::AlarmChannel::None};
    const auto activeIndex = [](core::AlarmId id) {
        return static_cast<size_t>(core::AlarmIndex(id));
    };
    fanOut.Attach(
        ReadingStage::Feeds, &owner,
        {.Reading =
             [&](const core::LiveReading& reading) {
                 const feeds::FeedAlarms alarms = feeds::FeedAlarmsOf(engine);
                 fed.push_back(
                     {feeds::FeedReadingOf(reading).T1, alarms.Active[activeIndex(high)]});
             },
         .LinkLost =
             [&](qint64) {
                 lostActiveAtLoss.push_back(feeds::FeedAlarmsOf(engine).Active[activeIndex(lost)]);
             }});
    fanOut.Attach(
        ReadingStage::Alarms, &owner,
        {.Reading =
             [&](const core::LiveReading& reading) {
                 engine.TakeReading(core::AlarmReadingOf(reading));
             },
         .LinkLost = [&](qint64 at) { engine.TakeLinkLost(QDateTime::fromMSecsSinceEpoch(at)); }});

    fanOut.Publish(ReadingAt(25.0f, 1000));
    fanOut.Publish(ReadingAt(31.0f, 2000));
    fanOut.PublishLinkLost(3000);
    ASSERT_EQ(fed.size(), 2u);
    EXPECT_FALSE(fed[0].highActive);
    EXPECT_TRUE(fed[1].highActive) << "the raise went out before the reading that raised it";
    EXPECT_EQ(lostActiveAtLoss, std::vector<bool>{true});
}

}  // namespace
}  // namespace kr820
