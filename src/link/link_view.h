// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::link {

// What the meter link shows and touches in the windows while it searches for the meter and
// supervises the link. The main window implements it; tests can implement it without windows.
class LinkView {
public:
    virtual ~LinkView() = default;

    // The device chooser. Selections made here never count as the user's change of device.
    virtual int DeviceCount() const = 0;
    virtual void SelectDevice(int index) = 0;  // -1 selects nothing
    virtual int SelectedDeviceIndex() const = 0;
    virtual QString SelectedDeviceText() const = 0;
    virtual void RemoveDevice(int index) = 0;

    // Does nothing once the splash is closed.
    virtual void SetSplashStatus(const QString& text) = 0;
    virtual void SetStatusPanels(const QString& port, const QString& connection) = 0;

    // Each pair of tool button and menu entry changes together.
    virtual void EnableRun(bool enabled) = 0;
    virtual void EnableStop(bool enabled) = 0;
    virtual void EnableDataLogger(bool enabled) = 0;

    // "No Connection" on the LCD window; nothing when that window does not exist.
    virtual void ShowNoConnection(bool shown) = 0;
};

}  // namespace kr820::link
