// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <vector>

#include "store/block_codec.h"
#include "store/envelope.h"
#include "store/packed_block.h"
#include "store/sqlite_db.h"
#include "store/store_format.h"
#include "store/stored_reading.h"

namespace kr820::store {

// The growing end of a recording: the open block of readings and, at every level, the envelope
// entries that do not yet fill a stored chunk (the last one partial). Whole blocks and chunks
// never change once stored; everything that still changes is here, so that a writer stores a
// chunk once and a reader rebuilds the end from a few rows.
struct StoreTail {
    int Format = kPackedFormatVersion;
    qint64 Count = 0;
    qint64 BlockFirstMs = 0;
    // The open block's readings (Count % 256 of them), and encoded in the store's format
    // (format 3: packed, without the end mark and checksum).
    std::vector<StoredReading> Open;
    QByteArray Block;
    PackState Packing;
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
    // From format 3 on, a level-1 chunk is the envelope of one block, taken from the block.
    bool StoresLevel(int level) const { return level > 1 || Format < kPackedFormatVersion; }

    // Takes the next reading; the chunks it fills are added to `filled`, to be stored with it.
    void Take(const StoredReading& reading, std::vector<Chunk>& filled);
    // Adds a reading to the open block alone (the first one starts it), envelopes left as they are.
    void Encode(const StoredReading& reading);
};

// Where the rows a tail is rebuilt from are damaged: the readings before `EndBlock` do not need
// them. `Block` when it is that block itself that does not read (else an envelope row).
struct TailDamage {
    qint64 EndBlock = 0;
    bool Block = false;
    QString Detail;
};

// Rebuilds the tail of a store; run it inside a read transaction so that it sees one state.
// Nothing, with `error` set, when the rows it needs are missing or damaged; `damage` then says
// where the readings that still read end.
// `endBlock` ends the readings before a damaged block: those before it are the store's readings.
std::optional<StoreTail> LoadTail(SqliteDb& db, QString* error,
                                  std::optional<qint64> endBlock = std::nullopt,
                                  std::optional<TailDamage>* damage = nullptr);

}  // namespace kr820::store
