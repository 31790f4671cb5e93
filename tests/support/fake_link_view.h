// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include "core/state/command_states.h"
#include "link/device_list.h"
#include "link/link_view.h"

namespace kr820::testing {

// A device chooser and status bar without windows, remembering what the link showed.
class FakeLinkView : public link::LinkView {
public:
    void ShowDevices(const link::DeviceList& devices) override {
        shownDevices = devices.Entries();
        chosenTexts << devices.ChosenText();
    }
    void SetSplashStatus(const QString& text) override { splashTexts << text; }
    void SetStatusPanels(const QString& port, const QString& connection) override {
        portPanel = port;
        connectionPanel = connection;
    }
    // The commands as the window would show them after the link's last word.
    void StateChanged() override {
        if (!state) return;
        const core::CommandStates states = core::CommandStatesFor(*state);
        runEnabled = states.Run;
        stopEnabled = states.Stop;
        dataLoggerEnabled = states.DataLogger;
    }
    void ShowNoConnection(bool shown) override { noConnectionShown = shown; }
    void ShowAccessRefusals(const QString& lines) override { refusalTip = lines; }
    void TellAccessRefusal(const QString& text) override { refusalsTold << text; }

    const core::AppState* state = nullptr;  // the link's, where the test checks the commands
    QStringList shownDevices;
    QStringList chosenTexts;  // every choice shown, in order
    QStringList splashTexts;
    QString portPanel, connectionPanel;
    bool runEnabled = true, stopEnabled = true, dataLoggerEnabled = true;
    bool noConnectionShown = false;
    QString refusalTip;
    QStringList refusalsTold;
};

}  // namespace kr820::testing
