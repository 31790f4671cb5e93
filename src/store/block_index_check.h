// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QtGlobal>
#include <optional>

#include "store/sqlite_db.h"

namespace kr820::store {

// The first damage in a store's index of blocks: a block missing, out of time order or with a
// time out of range. The readings before it read; the reader shows those and says what is wrong.
struct IndexDamage {
    qint64 FirstBadBlock = 0;
    QString Detail;  // for the user: "block 40 is missing"
};

// Checks the blocks from `fromBlock` on (those before it were checked already), from the index
// alone: keys 0, 1, 2... in the order of their times (but where the writer marked the clock set
// back), each time in range. Run it in the read
// transaction that loads the tail.
std::optional<IndexDamage> CheckBlockIndex(SqliteDb& db, qint64 fromBlock);

// A row with a negative key (never written by a writer), for the user; empty when there is none.
QString BadBlockKey(SqliteDb& db);

}  // namespace kr820::store
