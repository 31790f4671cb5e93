// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "store/block_codec.h"
#include "store/envelope.h"
#include "store/sqlite_db.h"
#include "store/stored_reading.h"

namespace kr820::store {

// The growing end of a recording: the open block of readings and, at every level, the envelope
// entries that do not yet fill a stored chunk (the last one partial). Whole blocks and chunks
// never change once stored; everything that still changes is here, so that a writer stores a
// chunk once and a reader rebuilds the end from a few rows.
struct StoreTail {
    qint64 Count = 0;
    qint64 BlockFirstMs = 0;
    QByteArray Block;  // the readings of the open block, Count % 256 of them
    std::array<std::vector<Envelope>, kTopLevel + 1> Pending;  // [level]; level 0 unused

    struct Chunk {
        int Level = 0;
        qint64 Index = 0;
        std::vector<Envelope> Entries;
    };

    qint64 OpenBlock() const { return Count / kBlockReadings; }
    int OpenBlockSize() const { return int(Count % kBlockReadings); }
    // Stored chunks of a level; entries from StoredChunks(level) * 16 on are Pending[level].
    qint64 StoredChunks(int level) const { return Count >> (kLevelBits * (level + 1)); }

    // Takes the next reading; the chunks it fills are added to `filled`, to be stored with it.
    void Take(const StoredReading& reading, std::vector<Chunk>& filled);
};

// Rebuilds the tail of a store; run it inside a read transaction so that it sees one state.
// Nothing, with `error` set, when the rows it needs are missing or damaged.
// `endBlock` ends the readings before a damaged block: those before it are the store's readings.
std::optional<StoreTail> LoadTail(SqliteDb& db, QString* error,
                                  std::optional<qint64> endBlock = std::nullopt);

}  // namespace kr820::store
