// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::ui {
class Prompter;
}

namespace kr820::meter {

class MeterHost;

inline const QString kNoConnectionMessage =
    QStringLiteral("There is no connection with Recorder !");
inline const QString kMeterRecordingMessage =
    QStringLiteral("The meter is recording data, please stop recording before loading data.");

inline const QString kRecordingHoldsPortMessage = QStringLiteral(
    "A real-time recording is running and reads the meter through its port. Stop the recording "
    "first.");

// The reasons a command that talks to the meter must not start: no meter, a real-time recording
// taking the readings (the command would leave a hole in it), or a meter busy logging. True when
// one holds; the user has then been told which.
bool MeterRefusesCommand(MeterHost& host, ui::Prompter& prompter);
// A real-time recording is running: a command that takes the meter's port (its setup, a
// download, another device) is refused, and the user told why. True when it is.
bool RecordingRefusesCommand(MeterHost& host, ui::Prompter& prompter);

}  // namespace kr820::meter
