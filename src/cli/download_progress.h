// SPDX-License-Identifier: MIT
#pragma once

#include "cli/cli_io.h"
#include "link/logger_transfer.h"

namespace kr820::cli {

// The transfer's progress on stderr: a bar redrawn in place on a terminal, otherwise (a log, a
// cron mail) one line per tenth of the memory.
class DownloadProgress : public link::TransferView {
public:
    explicit DownloadProgress(CliIo& io) : m_io(io) {}

    void ShowBusyCursor(bool) override {}
    void ShowTransferProgress(int totalBytes) override;
    void SetBytesReceived(int bytes) override;
    void RepaintProgress() override {}
    void CloseTransferProgress() override;

private:
    void DrawBar(int bytes);

    CliIo& m_io;
    int m_total = 0;
    int m_lastTenth = 0;
    int m_lastPercent = -1;
    bool m_barDrawn = false;
};

}  // namespace kr820::cli
