// SPDX-License-Identifier: MIT
#include "meter/meter_refusal.h"

#include "core/state/app_state.h"
#include "link/meter_link.h"
#include "meter/meter_host.h"
#include "ui/prompter.h"

namespace kr820::meter {

bool MeterRefusesCommand(MeterHost& host, ui::Prompter& prompter) {
    const core::AppState& state = host.State();
    if (!state.Connected) {
        prompter.Message(host.DialogOwner(), kNoConnectionMessage);
        return true;
    }
    if (RecordingRefusesCommand(host, prompter)) return true;
    if (host.Link().Readings().MeterLogging()) {
        prompter.Message(host.DialogOwner(), kMeterRecordingMessage);
        return true;
    }
    return false;
}

bool RecordingRefusesCommand(MeterHost& host, ui::Prompter& prompter) {
    if (!host.State().RealTimeRecording) return false;
    prompter.Message(host.DialogOwner(), kRecordingHoldsPortMessage);
    return true;
}

}  // namespace kr820::meter
