// SPDX-License-Identifier: MIT
#include "meter/meter_setup_command.h"

#include <QDateTime>

#include "core/logging/log_categories.h"
#include "core/setup/meter_setup.h"
#include "link/meter_link.h"
#include "link/port.h"
#include "link/setup_exchange.h"
#include "meter/frm_setup.h"
#include "meter/logger_download.h"
#include "meter/meter_host.h"
#include "meter/meter_refusal.h"
#include "ui/frm_info.h"
#include "ui/prompter.h"

namespace kr820::meter {

MeterSetupCommand::MeterSetupCommand(MeterHost& host, ui::Prompter& prompter)
    : m_host(host), m_prompter(prompter) {}

void MeterSetupCommand::btnSetupClick() {
    if (MeterRefusesCommand(m_host, m_prompter)) return;
    link::MeterLink& link = m_host.Link();
    std::optional<QByteArray> record;
    {
        ui::TfrmInfo info(m_host.DialogOwner());
        info.ShowText(kLoadingSetupText);
        link.QuiesceLivePath();
        if (link.ReopenForSetup())
            record = link::ReadSetupRecord(link.LivePort(), link.LinkClock());
    }
    if (!record) {
        m_prompter.Message(m_host.DialogOwner(), kLoadFailedMessage);
        // Back to supervision, so that the link is not left stopped.
        link.TakeUpPolling();
        return;
    }
    {
        TfrmSetup dialog(m_host.DialogOwner(), QLocale::system(), link.LinkClock());
        const QDateTime now = QDateTime::currentDateTime();
        m_lastRead = core::DecodeMeterSetup(*record, now);
        dialog.FillSetupDialog(*m_lastRead, now);
        dialog.SetOnSave([this, &dialog] { SaveMeterSetup(dialog); });
        dialog.SetOnErase([this, &dialog] { EraseMemory(dialog); });
        m_prompter.Exec(dialog);
    }
    link.TakeUpPolling();
}

void MeterSetupCommand::SaveMeterSetup(TfrmSetup& dialog) {
    // Fields the meter cannot hold as given stop the save before anything is sent.
    const SetupDialogReading reading = dialog.ReadSetupDialog();
    if (!reading.Setup) {
        m_prompter.Message(&dialog, reading.Problem);
        return;
    }
    link::MeterLink& link = m_host.Link();
    link::SetupSaveOutcome outcome;
    QDateTime clockSent;
    QDateTime clockSentAt;
    {
        ui::TfrmInfo info(&dialog);
        info.ShowText(kSavingSetupText);
        // Taken when the clock goes out: the user's clock has run on since it was set.
        const auto clockValue = [&] {
            clockSentAt = QDateTime::currentDateTime();
            clockSent = dialog.PcTimeTicked() ? clockSentAt : dialog.ClockValue();
            dialog.ShowClock(clockSent);
            return clockSent;
        };
        outcome = link::SaveSetup(link.LivePort(), link.LinkClock(),
                                  core::EncodeMeterSetup(*reading.Setup), clockValue,
                                  [&info](link::SetupSaveStage stage) {
                                      if (stage == link::SetupSaveStage::SettingClock)
                                          info.ShowText(kResetClockText);
                                      if (stage == link::SetupSaveStage::ResettingMeter)
                                          info.ShowText(kResetSystemText);
                                  });
    }
    // The dialog shows the meter as it now is, however far the save came.
    const bool setupWritten =
        outcome.Saved || outcome.FailedAt != link::SetupSaveStage::WritingSetup;
    dialog.ShowWritten(*reading.Setup, setupWritten
                                           ? core::kWrittenSetupBytes
                                           : outcome.FailedAddress - core::kFirstSetupAddress);
    if (outcome.Saved || outcome.FailedAt == link::SetupSaveStage::ResettingMeter)
        dialog.ShowMeterClock(clockSent, clockSentAt);
    if (outcome.Saved) {
        m_prompter.Message(&dialog, kSetupSavedMessage);
        return;
    }
    qCWarning(core::lcSetup) << "saving the setup failed at stage"
                             << static_cast<int>(outcome.FailedAt) << "address"
                             << outcome.FailedAddress;
    switch (outcome.FailedAt) {
        case link::SetupSaveStage::WritingSetup:
            m_prompter.Message(&dialog, kSaveFailedMessage);
            break;
        case link::SetupSaveStage::SettingClock:
            m_prompter.Message(&dialog, kClockFailedMessage);
            break;
        case link::SetupSaveStage::ResettingMeter:
            m_prompter.Message(&dialog, kResetFailedMessage);
            break;
    }
}

void MeterSetupCommand::EraseMemory(TfrmSetup& dialog) {
    if (m_prompter.Confirm(&dialog, kEraseQuestion, ui::Prompter::Buttons::YesNoNoFirst) !=
        ui::Prompter::Answer::Yes) {
        return;
    }
    link::MeterLink& link = m_host.Link();
    bool erased = false;
    {
        ui::TfrmInfo info(&dialog);
        info.ShowText(kClearingMemoryText);
        erased = link::EraseMeterMemory(link.LivePort(), link.LinkClock());
    }
    if (!erased) {
        m_prompter.Message(&dialog, kEraseFailedMessage);
        return;
    }
    dialog.ShowMemoryCleared();
    m_prompter.Message(&dialog, kErasedMessage);
}

}  // namespace kr820::meter
