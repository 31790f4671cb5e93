// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <cstdint>

#include "core/download/transfer_rules.h"

namespace kr820::link {

class Clock;
class DevicePort;
class MeterLink;

// What the download shows while it runs; the window layer implements it.
class TransferView {
public:
    virtual ~TransferView() = default;
    virtual void ShowBusyCursor(bool busy) = 0;
    virtual void ShowTransferProgress(int totalBytes) = 0;
    virtual void SetBytesReceived(int bytes) = 0;
    // The transfer processes no events; the progress window is repainted explicitly.
    virtual void RepaintProgress() = 0;
    virtual void CloseTransferProgress() = 0;
};

// Counters of the last transfer, for tests and figures.
struct TransferCounters {
    int expectedBytes = 0;
    int receivedBytes = 0;
    int retries = 0;
    int headerRequests = 0;
};

// Copies the meter's logger memory to the PC on Comm2: the header request, then the blocks with
// their acknowledgements, on the link's clock. Takes the port over from the live path first;
// handing it back is the caller's, whatever the result.
class LoggerTransfer {
public:
    LoggerTransfer(MeterLink& link, DevicePort& comm2, TransferView& view);

    // Appends the memory bytes to `memoryImage`, which holds the 256-byte header area; the
    // header reply goes over its start. Returns 0, 3, 4 or 6.
    core::DownloadCode TransferMemory(QByteArray& memoryImage);

    // The end address from the meter's header, or 0 when no valid header came.
    std::uint32_t RequestHeader(QByteArray& memoryImage);

    const TransferCounters& Counters() const { return m_counters; }

private:
    void ReceiveBlocks(QByteArray& memoryImage, int expected);

    MeterLink& m_link;
    DevicePort& m_comm2;
    TransferView& m_view;
    Clock& m_clock;
    TransferCounters m_counters;
};

}  // namespace kr820::link
