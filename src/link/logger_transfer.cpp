// SPDX-License-Identifier: MIT
#include "link/logger_transfer.h"

#include "core/protocol/command_table.h"
#include "core/protocol/exchange_limits.h"
#include "link/clock.h"
#include "link/command_exchange.h"
#include "link/meter_link.h"
#include "link/port.h"
#include "link/port_attempts.h"

namespace kr820::link {
namespace {

using core::kExchangeLimits;
using std::chrono::milliseconds;

constexpr milliseconds kIdleLook{20};
// A block's bytes come about half a millisecond apart at 19200 baud: look again soon, so that
// the acknowledgement leaves as soon as the last byte is in.
constexpr std::chrono::microseconds kPartialLook{250};

}  // namespace

LoggerTransfer::LoggerTransfer(MeterLink& link, DevicePort& comm2, TransferView& view)
    : m_link(link), m_comm2(comm2), m_view(view), m_clock(link.LinkClock()) {}

std::uint32_t LoggerTransfer::RequestHeader(QByteArray& memoryImage) {
    m_view.ShowBusyCursor(true);
    const Clock::TimePoint start = m_clock.Now();
    auto request = [this] {
        ++m_counters.headerRequests;
        SendCommand(m_comm2, core::kMemoryHeader);
    };
    request();
    bool valid = false;
    for (int attempt = 0;
         attempt < kExchangeLimits.headerAttempts && !valid && !m_clock.Stopping();) {
        const milliseconds left = Remaining(m_clock, start, kExchangeLimits.headerLimit);
        const int count =
            WaitForInput(m_comm2, m_clock, core::kHeaderReplyBytes, InputTarget::AtLeast, left);
        if (count == core::kHeaderReplyBytes) {
            QByteArray reply;
            Attempt(QStringLiteral("reading the memory header"), m_comm2,
                    [&] { reply = m_comm2.Read(core::kHeaderReplyBytes); });
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
    m_clock.Pause(kExchangeLimits.headerSettle);
    m_view.ShowBusyCursor(false);
    return core::HeaderEndAddress(memoryImage);
}

core::DownloadCode LoggerTransfer::TransferMemory(QByteArray& memoryImage) {
    m_counters = {};
    m_link.QuiesceLivePath();
    m_link.SwitchToDownloadPort(m_comm2);

    const core::TransferSize size = core::ExpectedTransfer(RequestHeader(memoryImage));
    if (m_clock.Stopping()) {
        SendCommand(m_comm2, core::kAbort);
        return core::DownloadCode::NoHeader;
    }
    if (size.code != core::DownloadCode::Success) return size.code;
    const int expected = size.expectedBytes;
    m_counters.expectedBytes = expected;

    SendCommand(m_comm2, core::kStartDownload);
    m_view.ShowTransferProgress(expected);
    // A port that fails under the transfer ends it; what came so far counts.
    Attempt(QStringLiteral("receiving the logger memory"), m_comm2,
            [&] { ReceiveBlocks(memoryImage, expected); });
    m_view.CloseTransferProgress();
    // Given up half-way: the meter stops sending, as after a failed exchange.
    if (m_clock.Stopping()) SendCommand(m_comm2, core::kAbort);
    return m_counters.receivedBytes < expected ? core::DownloadCode::ShortTransfer
                                               : core::DownloadCode::Success;
}

void LoggerTransfer::ReceiveBlocks(QByteArray& memoryImage, int expected) {
    int& received = m_counters.receivedBytes;
    int& retries = m_counters.retries;
    Clock::TimePoint last = m_clock.Now();
    const auto quietFor = [&] {
        return std::chrono::duration_cast<milliseconds>(m_clock.Now() - last);
    };
    // After the last expected block the loop runs on until the meter falls silent.
    while (quietFor() < kExchangeLimits.blockSilence && received <= expected &&
           retries <= kExchangeLimits.maxBlockRetries && !m_clock.Stopping()) {
        const int waiting = m_comm2.InputCount();
        if (waiting >= core::kBlockBytes) {
            const QByteArray block = m_comm2.Read(core::kBlockBytes);
            if (block.size() < core::kBlockBytes) continue;
            memoryImage.append(block.sliced(1, core::kBlockPayloadBytes));
            received += core::kBlockPayloadBytes;
            if (core::BlockChecksumMatches(block)) {
                SendCommand(m_comm2, core::kBlockAccepted);
                m_view.SetBytesReceived(received);
                m_view.RepaintProgress();
            } else {
                ++retries;
                m_view.RepaintProgress();
                // Whatever still waits belongs to the refused block (noise made it longer): the
                // meter sends the block again whole, and it must not start behind leftovers.
                m_comm2.PurgeInput();
                SendCommand(m_comm2, core::kBlockRefused);
                memoryImage.chop(core::kBlockPayloadBytes);
                received -= core::kBlockPayloadBytes;
            }
            last = m_clock.Now();
        } else if (waiting > 0 && quietFor() > kExchangeLimits.partialBlockLimit) {
            m_comm2.Read(waiting);  // a broken block: dropped, and asked for again
            ++retries;
            m_view.RepaintProgress();
            SendCommand(m_comm2, core::kBlockRefused);
            last = m_clock.Now();
        } else if (waiting == 0) {
            m_comm2.WaitForReadable(kIdleLook);
        } else {
            m_clock.Sleep(kPartialLook);
        }
    }
}

}  // namespace kr820::link
