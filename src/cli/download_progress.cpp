// SPDX-License-Identifier: MIT
#include "cli/download_progress.h"

namespace kr820::cli {
namespace {

constexpr int kBarWidth = 40;

}  // namespace

void DownloadProgress::ShowTransferProgress(int totalBytes) {
    m_total = totalBytes;
    m_lastTenth = 0;
    m_lastPercent = -1;
    if (m_io.errIsTerminal) {
        DrawBar(0);
    } else {
        Tell(m_io, QStringLiteral("downloading %1 bytes").arg(totalBytes));
    }
}

void DownloadProgress::SetBytesReceived(int bytes) {
    if (m_total <= 0) return;
    if (m_io.errIsTerminal) {
        DrawBar(bytes);
        return;
    }
    const int tenth = static_cast<int>(std::min<qint64>(10, qint64(bytes) * 10 / m_total));
    for (; m_lastTenth < tenth; ++m_lastTenth)
        Tell(m_io, QStringLiteral("downloaded %1 % (%2 of %3 bytes)")
                       .arg((m_lastTenth + 1) * 10)
                       .arg(std::min<qint64>(bytes, m_total))
                       .arg(m_total));
}

void DownloadProgress::CloseTransferProgress() {
    if (m_barDrawn) m_io.err.write("\n");
    m_barDrawn = false;
}

void DownloadProgress::DrawBar(int bytes) {
    if (m_io.verbosity == 0) return;
    const int percent =
        m_total > 0 ? static_cast<int>(std::min<qint64>(100, qint64(bytes) * 100 / m_total)) : 0;
    if (percent == m_lastPercent) return;  // a redraw per block would flood a slow terminal
    m_lastPercent = percent;
    const int filled = percent * kBarWidth / 100;
    m_io.err.write(QStringLiteral("\r[%1%2] %3 % %4/%5 bytes")
                       .arg(QString(filled, u'#'), QString(kBarWidth - filled, u' '))
                       .arg(percent, 3)
                       .arg(bytes)
                       .arg(m_total)
                       .toUtf8());
    m_barDrawn = true;
}

}  // namespace kr820::cli
