// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/state/app_state.h"

class QWidget;

namespace kr820::core {
class AlarmEngine;
class DataLoggerDocument;
}  // namespace kr820::core

namespace kr820::graph {
class TfrmGraph;
}
namespace kr820::link {
class DevicePort;
class MeterLink;
}  // namespace kr820::link

namespace kr820::meter {

// What the meter operations (download, real-time recording) need of the program around them:
// the state, the link and its download port, the document a download fills, the windows that
// show it and the save command. The main window implements it; tests may implement it without
// one.
class MeterHost {
public:
    virtual ~MeterHost() = default;

    // Owner of the dialogs and messages the operations show.
    virtual QWidget* DialogOwner() = 0;
    // A message shown once no command and no tick is running, for what goes wrong inside one.
    virtual void TellWhenIdle(const QString& text) = 0;
    virtual core::AppState& State() = 0;
    virtual link::MeterLink& Link() = 0;
    // The alarms as the user set them, whose state a recording keeps with each reading; none
    // where the program watches no alarms.
    virtual const core::AlarmEngine* AlarmState() const = 0;
    // Comm2: the port the download runs on, on Comm1's device, while Comm1 is closed.
    virtual link::DevicePort& DownloadPort() = 0;

    // What a download fills; its window shows it.
    virtual core::DataLoggerDocument& DataLogger() = 0;
    // The DataLogger window, created or brought back to its normal size.
    virtual graph::TfrmGraph* ShowDataLoggerWindow() = 0;
    // Before the DataLogger window's data is replaced: "Save DataLogger Data ?" when it holds a
    // download not yet saved, with the save on Yes. True when its data may go.
    virtual bool AskToKeepDataLoggerData() = 0;
    // Null while it is closed.
    virtual graph::TfrmGraph* RealTimeGraphWindow() const = 0;
    // Creates it when it is closed and returns it.
    virtual graph::TfrmGraph* ReopenRealTimeGraph() = 0;

    // A recording started or ended: the commands that follow it are derived again from the
    // state (core::CommandStatesFor).
    virtual void StateChanged() = 0;

    // The Save command's single-set branch; true only when a file was written.
    virtual bool SaveSingleSet(graph::TfrmGraph& window) = 0;
};

}  // namespace kr820::meter
