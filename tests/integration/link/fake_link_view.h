// SPDX-License-Identifier: MIT
#pragma once

#include <QStringList>
#include <QTimer>

#include "core/state/app_state.h"
#include "link/com_port.h"
#include "link/link_view.h"
#include "link/meter_link.h"

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

// The link with its state, live port, timer and a view, as the main window puts them together;
// port errors are silent, as the program's handlers make them.
struct LinkRig {
    explicit LinkRig(QStringList devices)
        : view(std::move(devices)), link(state, comm1, timer, view) {
        comm1.SetOnError([](link::TComPort&, const link::EComError&, link::TErrorAction& action) {
            action = link::TErrorAction::AbortSilently;
        });
    }
    core::AppState state;
    link::TComPort comm1;
    QTimer timer;
    FakeLinkView view;
    link::MeterLink link;
};

}  // namespace kr820::testing
