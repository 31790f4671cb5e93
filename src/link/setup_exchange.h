// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <functional>
#include <optional>

namespace kr820::link {

class Clock;
class Port;

// The meter's setup record: exactly its length within the read's limit after "O", or nothing
// (a reply of any other length counts as no reply). Run with the live path quiet.
std::optional<QByteArray> ReadSetupRecord(Port& port, Clock& clock);

// How far a save of the setup came.
enum class SetupSaveStage {
    WritingSetup,   // the setup bytes, one verified write each
    SettingClock,   // "WRTC" with the clock
    ResettingMeter  // "ROPT"
};

struct SetupSaveOutcome {
    bool Saved = false;
    SetupSaveStage FailedAt = SetupSaveStage::WritingSetup;
    int FailedAddress = 0;  // the setup address that failed, while writing the setup
};

// Writes record bytes 1 to 50 to the setup addresses in increasing order, then sets the clock
// to what `meterClock` gives when that stage begins and resets the meter, each by verified
// write. The first failure ends it: nothing after it is sent and nothing before it is undone.
// `onStage` hears each stage as it begins.
SetupSaveOutcome SaveSetup(Port& port, Clock& clock, const QByteArray& writtenBytes,
                           const std::function<QDateTime()>& meterClock,
                           const std::function<void(SetupSaveStage)>& onStage = {});

// "CLRM": the meter forgets every recorded data set.
bool EraseMeterMemory(Port& port, Clock& clock);

}  // namespace kr820::link
