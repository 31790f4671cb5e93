// SPDX-License-Identifier: MIT
// The meter's side of the logger download: the header reply, then the memory in blocks, each
// sent again until the PC accepts it. No I/O here: each command in, the bytes to answer out.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace kr820::emulator {

// Junk put into the middle of a noisy block: a stray STX and a byte with bit 7 set, like the
// live line's noise.
inline constexpr std::string_view kBlockNoise = "\xFF\x02\xAA";
// Where the junk goes: after this many of the block's bytes.
inline constexpr std::size_t kBlockNoiseAt = 17;
// What the PC treats as "nothing recorded" once the end address is above it.
inline constexpr std::size_t kMaxDownloadBytes = 132000;

// Blocks count from 0, the one holding memory bytes 0 to 31. Faults that hit a block "the
// first time" hit its first sending in each download, so every new "DOWN" meets them again.
struct DownloadFaults {
    bool noHeaderReply = false;
    // The header reply cut to, or filled up with blanks to, this many bytes.
    std::optional<std::size_t> headerReplyBytes;
    // Reported instead of the memory's own: 0xFFFF says nothing is recorded, anything above
    // 0xFFFF + 132000 is more than the PC takes. The blocks still follow the memory.
    std::optional<std::uint32_t> endAddress;
    std::optional<std::size_t> badChecksumBlock;
    bool badChecksumEveryTime = false;  // else only its first sending
    // This block goes out, then nothing more in this download: no next block, no resend.
    std::optional<std::size_t> silentAfterBlock;
    // kBlockNoise inside this block's first sending, which makes it 35 + 3 bytes long.
    std::optional<std::size_t> noisyBlock;

    bool operator==(const DownloadFaults&) const = default;
};

class LoggerTransfer {
public:
    explicit LoggerTransfer(std::string image = {});

    // A new memory ends any download under way.
    void SetMemory(std::string image);
    const std::string& Memory() const { return m_image; }
    // Counts the memories set so far, so that whatever describes the memory knows when to
    // look again.
    std::uint64_t MemoryChanges() const { return m_memoryChanges; }
    void SetFaults(const DownloadFaults& faults) { m_faults = faults; }
    const DownloadFaults& Faults() const { return m_faults; }

    // Each returns what the meter sends back; empty for nothing.
    std::string OnHeaderRequest();  // also ends a download under way
    std::string OnDownload();       // block 0, or nothing for an empty memory
    std::string OnAccepted();       // the next block; nothing after the last one
    std::string OnRefused();        // the same block again

    bool InProgress() const { return m_inProgress; }

private:
    std::string SendCurrent();

    std::string m_image;
    std::uint64_t m_memoryChanges = 0;
    DownloadFaults m_faults;
    bool m_inProgress = false;
    bool m_silenced = false;
    std::size_t m_current = 0;
    std::size_t m_timesSent = 0;  // of the current block, in this download
};

}  // namespace kr820::emulator
