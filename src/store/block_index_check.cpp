// SPDX-License-Identifier: MIT
#include "store/block_index_check.h"

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

#include "store/stored_reading.h"

namespace kr820::store {

namespace {

// The clock's steps back that the writer marked: [from, to] of each.
std::vector<std::pair<qint64, qint64>> ClockSteps(SqliteDb& db) {
    SqliteStatement select(db.Handle(), "SELECT from_ms, to_ms FROM gaps WHERE cause = ?1");
    select.Bind(1, qint64(GapCause::ClockSetBack));
    std::vector<std::pair<qint64, qint64>> steps;
    while (select.Step()) {
        if (!select.IsNull(1)) steps.emplace_back(select.Int(0), select.Int(1));
    }
    return steps;
}

// A block starting before the one before it is sound when the clock was marked set back from
// a time after the earlier block's start to one at or before the later one's.
bool MarkedStepBack(const std::vector<std::pair<qint64, qint64>>& steps, qint64 previousMs,
                    qint64 firstMs) {
    return std::any_of(steps.begin(), steps.end(), [&](const auto& step) {
        return step.first <= firstMs && step.second >= previousMs;
    });
}

}  // namespace

std::optional<IndexDamage> CheckBlockIndex(SqliteDb& db, qint64 fromBlock) {
    // From the time index alone (block numbers and times, a few bytes each), not the readings:
    // the blocks from the first checked one's time on, then put in the order of their numbers.
    qint64 fromMs = std::numeric_limits<qint64>::min();
    SqliteStatement start(db.Handle(), "SELECT first_ms FROM blocks WHERE block = ?1");
    start.Bind(1, fromBlock);
    if (fromBlock > 0 && start.Step()) fromMs = start.Int(0);
    // After a step back, later blocks may start before the first checked one.
    const auto steps = ClockSteps(db);
    for (const auto& step : steps) fromMs = std::min(fromMs, step.first);
    SqliteStatement walk(db.Handle(),
                         "SELECT block, first_ms FROM blocks INDEXED BY blocks_by_time WHERE "
                         "first_ms >= ?1 AND block >= ?2");
    walk.Bind(1, fromMs).Bind(2, fromBlock);
    std::vector<std::pair<qint64, qint64>> blocks;
    while (walk.Step()) blocks.emplace_back(walk.Int(0), walk.Int(1));
    std::sort(blocks.begin(), blocks.end());
    qint64 expected = fromBlock;
    std::optional<qint64> previousMs;
    for (const auto& [block, firstMs] : blocks) {
        if (block != expected) {
            return IndexDamage{expected, QStringLiteral("block %1 is missing").arg(expected)};
        }
        if (!TimeInRange(firstMs)) {
            return IndexDamage{block,
                               QStringLiteral("block %1 has a time out of range").arg(block)};
        }
        if (previousMs && firstMs < *previousMs && !MarkedStepBack(steps, *previousMs, firstMs)) {
            return IndexDamage{block, QStringLiteral("block %1 is out of time order").arg(block)};
        }
        previousMs = firstMs;
        ++expected;
    }
    // A block whose time lies before the first checked one's is out of order.
    SqliteStatement rest(db.Handle(), "SELECT min(block) FROM blocks WHERE block >= ?1");
    rest.Bind(1, expected);
    if (rest.Step() && !rest.IsNull(0)) {
        const qint64 block = rest.Int(0);
        return block == expected
                   ? IndexDamage{block, QStringLiteral("block %1 is out of time order").arg(block)}
                   : IndexDamage{expected, QStringLiteral("block %1 is missing").arg(expected)};
    }
    return std::nullopt;
}

QString BadBlockKey(SqliteDb& db) {
    SqliteStatement lowest(db.Handle(), "SELECT min(block) FROM blocks");
    if (!lowest.Step() || lowest.IsNull(0) || lowest.Int(0) >= 0) return {};
    return QStringLiteral("a block has the bad number %1").arg(lowest.Int(0));
}

}  // namespace kr820::store
