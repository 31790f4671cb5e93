// SPDX-License-Identifier: MIT
// The commands' states against the program's table of events: each row is the state before an
// event and after it, with what the event does to each command (nullopt: left as it was).
#include "core/state/command_states.h"

#include <gtest/gtest.h>

#include <optional>

namespace kr820::core {
namespace {

struct Flags {
    bool Connected;
    bool Recording;
};

struct Row {
    const char* Event;
    Flags Before;
    Flags After;
    std::optional<bool> Run, Stop, DataLogger, Option;
    // What was shown before the event where it is not derived from `Before`: the start-up's
    // every entry enabled, before the first search.
    std::optional<CommandStates> ShownBefore = std::nullopt;
};

AppState StateOf(Flags flags) {
    AppState state;
    state.Connected = flags.Connected;
    state.RealTimeRecording = flags.Recording;
    return state;
}

constexpr std::nullopt_t unchanged = std::nullopt;
constexpr CommandStates kEveryEntryEnabled{true, true, true, true};

const Row kRows[] = {
    {"the search found the meter",
     {false, false},
     {true, false},
     true,
     false,
     unchanged,
     unchanged,
     kEveryEntryEnabled},
    {"the link lost, no recording", {true, false}, {false, false}, false, false, false, unchanged},
    {"the link lost while recording", {true, true}, {false, true}, false, false, false, unchanged},
    {"first valid frame while not connected, not recording",
     {false, false},
     {true, false},
     true,
     false,
     true,
     unchanged},
    {"first valid frame while not connected, recording",
     {false, true},
     {true, true},
     false,
     true,
     true,
     unchanged},
    {"recording started", {true, false}, {true, true}, false, true, unchanged, false},
    {"recording stopped", {true, true}, {true, false}, true, false, unchanged, true},
    // Closing the window ends the recording as a stop does, so the setup comes back with it.
    {"graph closed while connected and recording",
     {true, true},
     {true, false},
     true,
     false,
     unchanged,
     true},
    {"graph closed while connected, nothing recording",
     {true, false},
     {true, false},
     true,
     false,
     unchanged,
     unchanged},
    {"graph closed while not connected",
     {false, true},
     {false, false},
     unchanged,
     false,
     unchanged,
     true},
};

TEST(CommandStates, EveryRowOfTheEventTable) {
    for (const Row& row : kRows) {
        SCOPED_TRACE(row.Event);
        const CommandStates before =
            row.ShownBefore.value_or(CommandStatesFor(StateOf(row.Before)));
        const CommandStates after = CommandStatesFor(StateOf(row.After));
        EXPECT_EQ(after.Run, row.Run.value_or(before.Run)) << "Run";
        EXPECT_EQ(after.Stop, row.Stop.value_or(before.Stop)) << "Stop";
        EXPECT_EQ(after.DataLogger, row.DataLogger.value_or(before.DataLogger)) << "DataLogger";
        EXPECT_EQ(after.Option, row.Option.value_or(before.Option)) << "Option";
    }
}

TEST(CommandStates, NothingStartsWithoutAMeterAndTheSetupWaitsForTheRecording) {
    for (const bool connected : {false, true})
        for (const bool recording : {false, true}) {
            const CommandStates states = CommandStatesFor(StateOf({connected, recording}));
            EXPECT_EQ(states.Run, connected && !recording);
            EXPECT_EQ(states.Stop, connected && recording);
            EXPECT_EQ(states.DataLogger, connected);
            EXPECT_EQ(states.Option, !recording);
        }
}

}  // namespace
}  // namespace kr820::core
