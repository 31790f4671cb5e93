// SPDX-License-Identifier: MIT
#pragma once

#include "core/state/app_state.h"

namespace kr820::core {

// Which of the main window's meter commands may run now. Each tool button changes together with
// its menu entry. The Setup tool button is never disabled (the setup refuses itself without a
// meter); the Option entry follows `Option`. While a command holds the command lock, the whole
// menu and tool bar are off besides.
struct CommandStates {
    bool Run = false;         // start a real-time recording
    bool Stop = false;        // stop it
    bool DataLogger = false;  // download the logger memory
    bool Option = false;      // the meter setup from the menu

    friend bool operator==(const CommandStates&, const CommandStates&) = default;
};

// The one rule: every command's state follows from whether a meter answers and whether a
// real-time recording runs, never from which event came last.
CommandStates CommandStatesFor(const AppState& state);

}  // namespace kr820::core
