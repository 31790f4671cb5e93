// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

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
    void EnableRun(bool enabled) override { runEnabled = enabled; }
    void EnableStop(bool enabled) override { stopEnabled = enabled; }
    void EnableDataLogger(bool enabled) override { dataLoggerEnabled = enabled; }
    void ShowNoConnection(bool shown) override { noConnectionShown = shown; }
    void ShowAccessRefusals(const QString& lines) override { refusalTip = lines; }
    void TellAccessRefusal(const QString& text) override { refusalsTold << text; }

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
