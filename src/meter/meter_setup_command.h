// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

#include "core/setup/meter_setup.h"

namespace kr820::ui {
class Prompter;
}

namespace kr820::meter {

class MeterHost;
class TfrmSetup;

// "Setup Meter": the meter's setup read into the setup dialog, and the dialog's SAVE (setup
// bytes, clock, reset) and ERASE, each told by the please-wait window and a message. Polling
// stops while the dialog is open and comes back when it closes, or when the read fails.
class MeterSetupCommand {
public:
    MeterSetupCommand(MeterHost& host, ui::Prompter& prompter);

    // LoadMeterSetup.
    void btnSetupClick();
    void SaveMeterSetup(TfrmSetup& dialog);
    void EraseMemory(TfrmSetup& dialog);
    // The setup as last read from the meter; none before a read succeeded.
    const std::optional<core::MeterSetup>& LastRead() const { return m_lastRead; }

private:
    MeterHost& m_host;
    ui::Prompter& m_prompter;
    std::optional<core::MeterSetup> m_lastRead;
};

inline const QString kLoadingSetupText =
    QStringLiteral("Please wait for loading setup option from meter .....");
inline const QString kLoadFailedMessage = QStringLiteral("Fail to load option from meter !");
inline const QString kSavingSetupText =
    QStringLiteral("Please wait for saving setup option to meter .....");
inline const QString kSaveFailedMessage = QStringLiteral("Fail to save option to meter !");
inline const QString kResetClockText = QStringLiteral("Please wait for reset clock.....");
inline const QString kClockFailedMessage = QStringLiteral("setup clock failed!");
inline const QString kResetSystemText = QStringLiteral("Please wait for reset system.....");
inline const QString kResetFailedMessage = QStringLiteral("Reset System failed!");
inline const QString kSetupSavedMessage =
    QStringLiteral("Setup successfully ! Please restart the Recorder to make these change valid !");
inline const QString kClearingMemoryText = QStringLiteral("Please wait for clearing memory.....");
inline const QString kEraseQuestion =
    QStringLiteral("Erase all data recorded in the meter? This cannot be undone.");
inline const QString kErasedMessage = QStringLiteral("Erase Memory  successfully!");
inline const QString kEraseFailedMessage = QStringLiteral("Erase Memory  failed!");

}  // namespace kr820::meter
