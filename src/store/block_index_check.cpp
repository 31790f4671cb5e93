// SPDX-License-Identifier: MIT
#include "store/block_index_check.h"

#include <limits>

#include "store/stored_reading.h"

namespace kr820::store {

std::optional<IndexDamage> CheckBlockIndex(SqliteDb& db, qint64 fromBlock) {
    // From the time index alone (block numbers and times, a few bytes each), not the readings.
    qint64 fromMs = std::numeric_limits<qint64>::min();
    SqliteStatement start(db.Handle(), "SELECT first_ms FROM blocks WHERE block = ?1");
    start.Bind(1, fromBlock);
    if (start.Step()) fromMs = start.Int(0);
    start.Reset();
    SqliteStatement walk(db.Handle(),
                         "SELECT block, first_ms FROM blocks INDEXED BY blocks_by_time WHERE "
                         "first_ms >= ?1 AND block >= ?2 ORDER BY first_ms, block");
    walk.Bind(1, fromMs).Bind(2, fromBlock);
    qint64 expected = fromBlock;
    while (walk.Step()) {
        const qint64 block = walk.Int(0);
        if (block == expected && TimeInRange(walk.Int(1))) {
            ++expected;
            continue;
        }
        if (block == expected) {
            return IndexDamage{expected,
                               QStringLiteral("block %1 has a time out of range").arg(expected)};
        }
        start.Bind(1, expected);
        const bool present = start.Step();
        return IndexDamage{expected,
                           present ? QStringLiteral("block %1 is out of time order").arg(expected)
                                   : QStringLiteral("block %1 is missing").arg(expected)};
    }
    // A block whose time lies before the first checked one is out of order too.
    SqliteStatement rest(db.Handle(), "SELECT min(block) FROM blocks WHERE block >= ?1");
    rest.Bind(1, expected);
    if (rest.Step() && !rest.IsNull(0)) {
        start.Bind(1, expected);
        const bool present = start.Step();
        return IndexDamage{expected,
                           present ? QStringLiteral("block %1 is out of time order").arg(expected)
                                   : QStringLiteral("block %1 is missing").arg(expected)};
    }
    return std::nullopt;
}

QString BadBlockKey(SqliteDb& db) {
    SqliteStatement lowest(db.Handle(), "SELECT min(block) FROM blocks");
    if (!lowest.Step() || lowest.IsNull(0) || lowest.Int(0) >= 0) return {};
    return QStringLiteral("a block has the bad number %1").arg(lowest.Int(0));
}

}  // namespace kr820::store
