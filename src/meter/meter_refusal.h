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

// The two reasons a command that talks to the meter must not start: no meter, or a meter busy
// logging. True when one holds; the user has then been told which.
bool MeterRefusesCommand(MeterHost& host, ui::Prompter& prompter);

}  // namespace kr820::meter
