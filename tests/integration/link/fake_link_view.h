// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>

#include "link/link_view.h"

namespace kr820::testing {

// A device chooser and status bar without windows, remembering what the link showed.
class FakeLinkView : public link::LinkView {
public:
    explicit FakeLinkView(QStringList devices) : devices(std::move(devices)) {}

    int DeviceCount() const override { return static_cast<int>(devices.size()); }
    void SelectDevice(int index) override { selected = index; }
    int SelectedDeviceIndex() const override { return selected; }
    QString SelectedDeviceText() const override {
        return selected >= 0 && selected < devices.size() ? devices.at(selected) : QString();
    }
    void RemoveDevice(int index) override {
        devices.removeAt(index);
        if (selected >= devices.size()) selected = static_cast<int>(devices.size()) - 1;
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

    QStringList devices;
    int selected = -1;
    QStringList splashTexts;
    QString portPanel, connectionPanel;
    bool runEnabled = true, stopEnabled = true, dataLoggerEnabled = true;
    bool noConnectionShown = false;
};

}  // namespace kr820::testing
