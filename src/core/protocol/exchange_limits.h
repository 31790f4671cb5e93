// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "core/protocol/command_table.h"

namespace kr820::core {

// The waits, attempts and limits of the exchanges with the meter beyond one reply wait (which
// the command table gives per command), in one place.
struct ExchangeLimits {
    // Search: the pause after choosing a device, before opening it; the model query's reply
    // limit follows the query.
    std::chrono::milliseconds searchSettle;
    // A port closed and opened again (after the search, around the download, at a baud-rate
    // change) rests this long in between.
    std::chrono::milliseconds reopenSettle;
    // The live port closed and opened again before the setup is read.
    std::chrono::milliseconds setupSettle;
    // Waiting for a running tick or receive handler before taking the port away.
    std::chrono::milliseconds busyLimit;

    // Supervision: the tick, the shortest interval its correction may give, and the ticks
    // without a frame after which the link is lost.
    std::chrono::milliseconds tick;
    std::chrono::milliseconds shortestTick;
    int ticksBeforeLinkLost;

    // Verified writes: attempts, and the rest after the abort frame between two of them.
    int writeAttempts;
    std::chrono::milliseconds abortSettle;

    // Download: the header limit is the header's reply limit, spread over every attempt; the
    // silence that ends the block loop is a block's reply limit.
    int headerAttempts;
    std::chrono::milliseconds headerLimit;
    std::chrono::milliseconds headerSettle;  // after a valid header, before "DOWN"
    std::chrono::milliseconds blockSilence;
    std::chrono::milliseconds partialBlockLimit;  // a partial block this old is refused
    int maxBlockRetries;
};

inline constexpr ExchangeLimits kExchangeLimits{
    .searchSettle = std::chrono::milliseconds(300),
    .reopenSettle = std::chrono::milliseconds(500),
    .setupSettle = std::chrono::milliseconds(1000),
    .busyLimit = std::chrono::milliseconds(3000),
    .tick = std::chrono::milliseconds(1000),
    .shortestTick = std::chrono::milliseconds(500),
    .ticksBeforeLinkLost = 3,
    .writeAttempts = 3,
    .abortSettle = std::chrono::milliseconds(200),
    .headerAttempts = 3,
    .headerLimit = kMemoryHeader.replyLimit,
    .headerSettle = std::chrono::milliseconds(100),
    .blockSilence = kStartDownload.replyLimit,
    .partialBlockLimit = std::chrono::milliseconds(1500),
    .maxBlockRetries = 20,
};

}  // namespace kr820::core
