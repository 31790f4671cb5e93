// SPDX-License-Identifier: MIT
#include "meter/logger_download.h"

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QPushButton>

#include "graph/frm_graph.h"
#include "link/meter_link.h"
#include "meter/data_logger_loading.h"
#include "meter/frm_err.h"
#include "meter/meter_host.h"
#include "meter/meter_refusal.h"
#include "ui/frm_scope.h"
#include "ui/prompter.h"

namespace kr820::meter {
namespace {

core::DownloadCode CodeOf(core::ParseCode parse) {
    switch (parse) {
        case core::ParseCode::Success:
            return core::DownloadCode::Success;
        case core::ParseCode::DamagedRecord:
            return core::DownloadCode::DamagedRecord;
        case core::ParseCode::BadSetCount:
            return core::DownloadCode::BadSetCount;
        case core::ParseCode::NoDataSets:
            return core::DownloadCode::NothingRecorded;
    }
    return core::DownloadCode::DamagedRecord;
}

}  // namespace

LoggerDownload::LoggerDownload(MeterHost& host, ui::Prompter& prompter)
    : m_host(host), m_prompter(prompter) {}

void LoggerDownload::btnDataLoggerClick() {
    if (MeterRefusesCommand(m_host, m_prompter)) return;
    // A download not yet saved is asked about, as closing its window would; Cancel leaves it.
    if (!m_host.AskToKeepDataLoggerData()) return;
    core::DataLoggerDocument& document = m_host.DataLogger();
    m_host.ShowDataLoggerWindow();

    TfrmErr errorDialog(m_host.DialogOwner());
    bool again = true;
    while (again) {
        again = false;
        switch (DownloadLogger()) {
            case core::DownloadCode::Success:
                if (m_shown) document.MarkUnsaved();
                break;
            case core::DownloadCode::BadSetCount:
                m_prompter.Message(m_host.DialogOwner(), kMemoryErrorMessage);
                break;
            case core::DownloadCode::NothingRecorded:
                m_prompter.Message(m_host.DialogOwner(), kNothingRecordedMessage);
                break;
            case core::DownloadCode::DamagedRecord:
                errorDialog.ShowError(kDamagedRecordMessage, true);
                switch (m_prompter.Exec(errorDialog)) {
                    case TfrmErr::Retry:
                        again = true;
                        break;
                    case TfrmErr::FixError:
                        if (LoadSetsBeforeDamage(document, m_failedImage, m_failedOutcome, {},
                                                 m_prompter, m_host.DialogOwner()))
                            document.MarkUnsaved();
                        break;
                    default:
                        break;
                }
                break;
            case core::DownloadCode::ShortTransfer:
            case core::DownloadCode::NoHeader:
                errorDialog.ShowError(kReadErrorMessage, false);
                again = m_prompter.Exec(errorDialog) == TfrmErr::Retry;
                break;
        }
    }
    // Whatever happened, the live port and the supervision come back.
    m_host.Link().ReturnFromDownloadPort(m_host.DownloadPort());
}

core::DownloadCode LoggerDownload::DownloadLogger() {
    m_shown = false;
    m_failedImage.clear();
    QByteArray image(core::kFirstRecordOffset, '\0');
    link::LoggerTransfer transfer(m_host.Link(), m_host.DownloadPort(), *this);
    const core::DownloadCode transferred = transfer.TransferMemory(image);
    if (transferred != core::DownloadCode::Success) return transferred;

    m_host.ShowDataLoggerWindow();
    // Only a whole image replaces what the DataLogger document holds.
    const core::DataLoggerDocument::LoadOutcome loaded =
        LoadIntoDataLogger(m_host.DataLogger(), image, {}, m_prompter, m_host.DialogOwner());
    const core::DownloadCode decoded = CodeOf(loaded.Parse.Code);
    if (decoded == core::DownloadCode::DamagedRecord) {
        m_failedImage = image;  // exactly as the meter delivered it, for the recovery
        m_failedOutcome = loaded.Parse;
    }
    m_shown = loaded.Shown;
    return decoded;
}

void LoggerDownload::ShowBusyCursor(bool busy) {
    if (busy) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
    } else {
        QApplication::restoreOverrideCursor();
    }
}

void LoggerDownload::ShowTransferProgress(int totalBytes) {
    delete m_progress;
    m_progress = new ui::TfrmScope(m_host.DialogOwner());
    m_progress->setWindowTitle("Data Retriving Progress");
    m_progress->ShowTransferCounters(totalBytes);
    m_progress->show();
    RepaintProgress();
}

void LoggerDownload::SetBytesReceived(int bytes) {
    if (m_progress) m_progress->SetBytesReceived(bytes);
}

void LoggerDownload::RepaintProgress() {
    if (!m_progress) return;
    m_progress->repaint();
    // The window system maps and exposes the window only through the event loop, which the
    // transfer does not run; let it in without the user's input, so no command starts meanwhile.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void LoggerDownload::CloseTransferProgress() { delete m_progress; }

}  // namespace kr820::meter
