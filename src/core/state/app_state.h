// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

#include "core/time/date_time.h"

namespace kr820::core {

// The link's own state: is a meter connected, which port is in use, is a handler busy, the
// supervision's counts and the bytes not yet cut into frames. The link writes it; the rest of
// the program reads whether a meter is connected and waits while a handler is busy.
struct LinkState {
    bool Connected = false;      // a meter answers on Comm1
    bool TimerBusy = false;      // MainTimerTimer is running
    bool RxBusy = false;         // Comm1RxChar is running
    bool FrameReceived = false;  // a valid live frame arrived since the last tick

    int MissedTicks = 0;  // consecutive ticks without a frame
    int RateTicks = 0;    // ticks since the last real-time sample

    int LastConnectedPort = 0;     // device-list index restored from settings or chosen
    int CurrentPortIndex = 0;      // device-list index Comm1 uses now
    int LastConnectedModel = 820;  // model code from settings
    QString LastConnectedDevice;   // path of the device a meter last answered on
    int ModelCode = 0;             // 0 until the search, then 820

    QByteArray LiveBuffer;  // received bytes not yet cut into live frames
};

// The real-time recording: whether it runs, its pace, how far it got and whether what it took
// is saved. The recorder writes it; the link reads the pace to hand it samples.
struct RealTimeState {
    bool RealTimeRecording = false;  // real-time recording into the real-time graph runs
    int RealTimeRate = 2;            // seconds between two real-time samples
    TDateTime RealTimeAxisStep = 0;  // RealTimeRate x 100 s, in days; set at start-up only
    int RealTimePointCount = 0;
    bool RealTimeUnsaved = false;
};

// The state the main window owns and hands to the link and the meter commands; the values here
// are those at program start. The downloaded data's state lives in its document.
struct AppState : LinkState, RealTimeState {};

// The step by which the real-time graph extends its time axis: rate x 100 seconds, in days.
inline TDateTime RealTimeAxisStepFor(int realTimeRateSeconds) {
    return realTimeRateSeconds * 100.0 / kSecondsPerDay;
}

}  // namespace kr820::core
