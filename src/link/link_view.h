// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::link {

class DeviceList;

// What the meter link shows and touches in the windows while it searches for the meter and
// supervises the link. The main window implements it; tests can implement it without windows.
class LinkView {
public:
    virtual ~LinkView() = default;

    // The device list was filled or lost an entry, or the link chose another device: the
    // chooser shows the entries and the chosen text. Never counts as the user's change.
    virtual void ShowDevices(const DeviceList& devices) = 0;

    // Does nothing once the splash is closed.
    virtual void SetSplashStatus(const QString& text) = 0;
    virtual void SetStatusPanels(const QString& port, const QString& connection) = 0;

    // The connection changed: the commands that follow it are derived again from the state
    // (core::CommandStatesFor).
    virtual void StateChanged() = 0;

    // "No Connection" on the LCD window; nothing when that window does not exist.
    virtual void ShowNoConnection(bool shown) = 0;

    // The devices that refuse the program and why, one line each, for the status bar's tip;
    // empty when none does.
    virtual void ShowAccessRefusals(const QString& lines) = 0;
    // A device refused the program for a new cause: said once in a message, which must not run
    // inside the search or the tick that found it (the link goes on meanwhile).
    virtual void TellAccessRefusal(const QString& text) = 0;
};

}  // namespace kr820::link
