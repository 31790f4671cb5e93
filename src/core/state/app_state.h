// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include "core/time/date_time.h"

namespace kr820::core {

// The state every part of the program tests: is a meter connected, is it logging, is real-time
// recording running, which port is in use, is a handler busy. One instance, owned by the main
// window; the values here are those at program start.
struct AppState {
    bool Connected = false;          // a meter answers on Comm1
    bool RealTimeRecording = false;  // real-time recording into the real-time graph runs
    bool TimerBusy = false;          // MainTimerTimer is running
    bool RxBusy = false;             // Comm1RxChar is running
    bool FrameReceived = false;      // a valid live frame arrived since the last tick

    int MissedTicks = 0;  // consecutive ticks without a frame
    int RateTicks = 0;    // ticks since the last real-time sample

    int RealTimeRate = 2;            // seconds between two real-time samples
    TDateTime RealTimeAxisStep = 0;  // RealTimeRate x 100 s, in days; set at start-up only

    int LastConnectedPort = 0;     // device-list index restored from settings or chosen
    int CurrentPortIndex = 0;      // device-list index Comm1 uses now
    int LastConnectedModel = 820;  // model code from settings
    QString LastConnectedDevice;   // path of the device a meter last answered on
    int ModelCode = 0;             // 0 until the search, then 820

    QByteArray LiveBuffer;          // received bytes not yet cut into live frames

    int RealTimePointCount = 0;
    bool RealTimeUnsaved = false;
};

// The step by which the real-time graph extends its time axis: rate x 100 seconds, in days.
inline TDateTime RealTimeAxisStepFor(int realTimeRateSeconds) {
    return realTimeRateSeconds * 100.0 / kSecondsPerDay;
}

}  // namespace kr820::core
