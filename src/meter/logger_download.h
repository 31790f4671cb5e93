// SPDX-License-Identifier: MIT
#pragma once

#include <QPointer>

#include "core/data/parse_memory_image.h"
#include "core/download/transfer_rules.h"
#include "link/logger_transfer.h"
#include "meter/meter_refusal.h"

namespace kr820::ui {
class Prompter;
class TfrmScope;
}  // namespace kr820::ui

namespace kr820::meter {

class MeterHost;

// The "Load Data" command: the meter's logger memory downloaded on Comm2, decoded into the
// DataLogger window, kept in the temporary store, with the error dialog's "Try Again" and the
// recovery of the sets before a damaged one.
class LoggerDownload : private link::TransferView {
public:
    LoggerDownload(MeterHost& host, ui::Prompter& prompter);

    void btnDataLoggerClick();
    // One attempt: transfer, decode, store, show.
    core::DownloadCode DownloadLogger();

private:
    void ShowBusyCursor(bool busy) override;
    void ShowTransferProgress(int totalBytes) override;
    void SetBytesReceived(int bytes) override;
    void RepaintProgress() override;
    void CloseTransferProgress() override;

    MeterHost& m_host;
    ui::Prompter& m_prompter;
    QPointer<ui::TfrmScope> m_progress;
    bool m_shown = false;      // the last attempt's sets reached the window
    QByteArray m_failedImage;  // the last attempt's image when its decode found a damaged record
    core::ParseOutcome m_failedOutcome;
};

inline const QString kDamagedRecordMessage = QStringLiteral(
    "Data error ! Choose Try Again to reload or Fix Error to delete the error data set.");
inline const QString kReadErrorMessage =
    QStringLiteral("There was error when reading data from meter");
inline const QString kMemoryErrorMessage = QStringLiteral("Memory error!");
inline const QString kNothingRecordedMessage =
    QStringLiteral("There is not any recorded data in memory!");

}  // namespace kr820::meter
