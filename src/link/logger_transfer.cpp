// SPDX-License-Identifier: MIT
#include "link/logger_transfer.h"

#include <thread>

#include "core/protocol/command_table.h"
#include "link/com_port.h"
#include "link/command_exchange.h"
#include "link/meter_link.h"
#include "link/send_command.h"
#include "link/wait.h"

namespace kr820::link {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

constexpr int kHeaderAttempts = 3;
constexpr milliseconds kHeaderSettle{100};
constexpr milliseconds kIdleLook{20};
// A block's bytes come about half a millisecond apart at 19200 baud: look again soon, so that
// the acknowledgement leaves as soon as the last byte is in.
constexpr std::chrono::microseconds kPartialLook{250};

milliseconds Since(Clock::time_point then) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - then);
}

QByteArrayView Body(const core::CommandSpec& command) {
    return QByteArrayView(command.body.data(), static_cast<qsizetype>(command.body.size()));
}

}  // namespace

LoggerTransfer::LoggerTransfer(MeterLink& link, TComPort& comm2, TransferView& view,
                               TransferLimits limits)
    : m_link(link), m_comm2(comm2), m_view(view), m_limits(limits) {}

std::uint32_t LoggerTransfer::RequestHeader(QByteArray& memoryImage) {
    m_view.ShowBusyCursor(true);
    const Clock::time_point start = Clock::now();
    auto request = [this] {
        ++m_counters.headerRequests;
        SendCommand(m_comm2, Body(core::kMemoryHeader));
    };
    request();
    bool valid = false;
    for (int attempt = 0; attempt < kHeaderAttempts && !valid;) {
        const milliseconds left = std::max(milliseconds(0), m_limits.headerLimit - Since(start));
        const int count = WaitForInput(m_comm2, static_cast<int>(core::kHeaderReplyBytes),
                                       InputTarget::AtLeast, left);
        if (count == core::kHeaderReplyBytes) {
            const QByteArray reply = m_comm2.Read(static_cast<int>(core::kHeaderReplyBytes));
            if (reply.size() == core::kHeaderReplyBytes) {
                if (memoryImage.size() < core::kHeaderReplyBytes)
                    memoryImage.resize(core::kFirstRecordOffset, '\0');
                memoryImage.replace(0, core::kHeaderReplyBytes, reply);
                valid = core::IsHeaderReply(reply);
            }
        }
        if (!valid) {
            ++attempt;
            m_comm2.PurgeInput();
            request();
        }
    }
    if (!valid) {
        m_view.ShowBusyCursor(false);
        return 0;
    }
    m_comm2.PurgeInput();
    WaitMs(static_cast<int>(kHeaderSettle.count()));
    m_view.ShowBusyCursor(false);
    return core::HeaderEndAddress(memoryImage);
}

core::DownloadCode LoggerTransfer::TransferMemory(QByteArray& memoryImage) {
    m_counters = {};
    m_link.QuiesceLivePath();
    m_link.SwitchToDownloadPort(m_comm2);

    const core::TransferSize size = core::ExpectedTransfer(RequestHeader(memoryImage));
    if (size.code != core::DownloadCode::Success) return size.code;
    const int expected = size.expectedBytes;
    m_counters.expectedBytes = expected;

    SendCommand(m_comm2, Body(core::kStartDownload));
    m_view.ShowTransferProgress(expected);
    try {
        ReceiveBlocks(memoryImage, expected);
    } catch (const EAbort&) {  // the port failed under the transfer: what came so far counts
    } catch (const EComError&) {
    }
    m_view.CloseTransferProgress();
    return m_counters.receivedBytes < expected ? core::DownloadCode::ShortTransfer
                                               : core::DownloadCode::Success;
}

void LoggerTransfer::ReceiveBlocks(QByteArray& memoryImage, int expected) {
    int& received = m_counters.receivedBytes;
    int& retries = m_counters.retries;
    Clock::time_point last = Clock::now();
    // After the last expected block the loop runs on until the meter falls silent.
    while (Since(last) < m_limits.silenceLimit && received <= expected &&
           retries <= core::kMaxTransferRetries) {
        const int waiting = m_comm2.InputCount();
        if (waiting >= core::kBlockBytes) {
            const QByteArray block = m_comm2.Read(core::kBlockBytes);
            if (block.size() < core::kBlockBytes) continue;
            memoryImage.append(block.sliced(1, core::kBlockPayloadBytes));
            received += core::kBlockPayloadBytes;
            if (core::BlockChecksumMatches(block)) {
                SendCommand(m_comm2, Body(core::kBlockAccepted));
                m_view.SetBytesReceived(received);
                m_view.RepaintProgress();
            } else {
                ++retries;
                m_view.RepaintProgress();
                // Whatever still waits belongs to the refused block (noise made it longer): the
                // meter sends the block again whole, and it must not start behind leftovers.
                m_comm2.PurgeInput();
                SendCommand(m_comm2, Body(core::kBlockRefused));
                memoryImage.chop(core::kBlockPayloadBytes);
                received -= core::kBlockPayloadBytes;
            }
            last = Clock::now();
        } else if (waiting > 0 && Since(last) > m_limits.partialLimit) {
            m_comm2.Read(waiting);  // a broken block: dropped, and asked for again
            ++retries;
            m_view.RepaintProgress();
            SendCommand(m_comm2, Body(core::kBlockRefused));
            last = Clock::now();
        } else if (waiting == 0) {
            m_comm2.WaitForReadable(kIdleLook);
        } else {
            std::this_thread::sleep_for(kPartialLook);
        }
    }
}
}  // namespace kr820::link
