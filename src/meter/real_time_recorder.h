// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/time/date_time.h"

namespace kr820::ui {
class Prompter;
}

namespace kr820::meter {

class MeterHost;

// Real-time recording: the live readings copied into the real-time graph at the chosen rate until
// the chosen number of points. The pacing is the main timer's; this starts, adds and stops.
class RealTimeRecorder {
public:
    RealTimeRecorder(MeterHost& host, ui::Prompter& prompter);

    void btnRunClick();
    void btnStopClick();
    // One point from the last live reading, taken at `now`; called by the main timer's tick.
    void AddRealTimePoint(core::TDateTime now);

private:
    void StopRecording();

    MeterHost& m_host;
    ui::Prompter& m_prompter;
};

inline const QString kResetQuestion = QStringLiteral(
    "There are datas in Real_Time graph ,it have to reset the graph.\n"
    "Do you want to save the Real-Time graph ?");
inline const QString kNotValidSuffix = QStringLiteral(" is not valid.\n");

}  // namespace kr820::meter
