// SPDX-License-Identifier: MIT
#include "core/state/command_states.h"

namespace kr820::core {

CommandStates CommandStatesFor(const AppState& state) {
    CommandStates states;
    states.Run = state.Connected && !state.RealTimeRecording;
    states.Stop = state.Connected && state.RealTimeRecording;
    states.DataLogger = state.Connected;
    // The setup would change the meter's pace under a running recording.
    states.Option = !state.RealTimeRecording;
    return states;
}

}  // namespace kr820::core
