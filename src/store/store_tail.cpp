// SPDX-License-Identifier: MIT
#include "store/store_tail.h"

#include <QStringLiteral>
#include <limits>

#include "store/block_codec.h"
#include "store/store_schema.h"

namespace kr820::store {

void StoreTail::Encode(const StoredReading& reading) {
    if (Open.empty()) {
        Block.clear();
        BlockFirstMs = reading.TimeMs;
        Packing = StartPacking(reading.TimeMs);
    }
    if (Format >= kPackedFormatVersion) {
        PackReading(Block, Packing, reading);
    } else {
        AppendToBlock(Block, BlockFirstMs, reading);
    }
    Open.push_back(reading);
}

void StoreTail::Take(const StoredReading& reading, std::vector<Chunk>& filled) {
    const qint64 n = Count;
    if (n % kBlockReadings == 0) Open.clear();
    Encode(reading);
    for (int level = 1; level <= kTopLevel; ++level) {
        auto& entries = Pending[level];
        if (n % ReadingsPerEntry(level) == 0) entries.emplace_back();
        entries.back().Take(reading);
        if ((n + 1) % ReadingsPerEntry(level + 1) == 0) {
            filled.push_back({level, n / ReadingsPerEntry(level + 1), std::move(entries)});
            entries.clear();
        }
    }
    Count = n + 1;
}

namespace {

// The entries of level `level` (2 and up) in chunks [first, end) of the level below, merged a
// chunk each: from format 3 on, level 1's chunks are the blocks themselves.
// False when a row does not read; `bad` is then the first chunk (or block) that does not.
bool MergedChunksBelow(SqliteDb& db, const StoreTail& tail, int level, qint64 first, qint64 end,
                       std::vector<Envelope>& out, qint64& bad) {
    const bool fromBlocks = !tail.StoresLevel(level - 1);
    SqliteStatement rows(db.Handle(),
                         fromBlocks ? "SELECT block, readings, first_ms FROM blocks WHERE block >= "
                                      "?2 AND block < ?3 AND ?1 = ?1 ORDER BY block"
                                    : "SELECT chunk, entries FROM envelopes WHERE level = ?1 AND "
                                      "chunk >= ?2 AND chunk < ?3 ORDER BY chunk");
    rows.Bind(1, qint64(level - 1)).Bind(2, first).Bind(3, end);
    qint64& expected = bad;
    expected = first;
    while (rows.Step()) {
        if (rows.Int(0) != expected) return false;
        Envelope merged;
        if (fromBlocks) {
            const auto readings =
                DecodeStoredBlock(tail.Format, rows.Blob(1), expected, rows.Int(2));
            if (!readings || readings->size() != size_t(kBlockReadings)) return false;
            merged = EnvelopeOf(*readings);
        } else {
            const auto entries = DecodeChunk(tail.Format, rows.Blob(1), level - 1, expected);
            if (!entries || entries->size() != size_t(kFanOut)) return false;
            for (const auto& entry : *entries) merged.Merge(entry);
        }
        out.push_back(merged);
        ++expected;
    }
    return expected == end;
}

}  // namespace

std::optional<StoreTail> LoadTail(SqliteDb& db, QString* error, std::optional<qint64> endBlock,
                                  std::optional<TailDamage>* damage) {
    const auto fail = [&](QString message) -> std::optional<StoreTail> {
        if (error) *error = std::move(message);
        return std::nullopt;
    };
    StoreTail tail;
    tail.Format = int(FormatVersion(db).value_or(kPlainFormatVersion));
    SqliteStatement last(
        db.Handle(),
        "SELECT block, first_ms, readings FROM blocks WHERE block >= 0 AND block < ?1 ORDER BY "
        "block DESC LIMIT 1");
    last.Bind(1, endBlock.value_or(std::numeric_limits<qint64>::max()));
    if (last.Step()) {
        const qint64 block = last.Int(0);
        if (block < 0 || block > kMaxReadings / kBlockReadings) {
            return fail(QStringLiteral("its last block of readings does not read"));
        }
        const auto readings = DecodeStoredBlock(tail.Format, last.Blob(2), block, last.Int(1));
        if (!readings || readings->empty()) {
            const QString detail =
                QStringLiteral("its last block of readings (block %1) does not read").arg(block);
            if (damage) *damage = TailDamage{block, true, detail};
            return fail(detail);
        }
        tail.Count = block * kBlockReadings + qint64(readings->size());
        if (tail.OpenBlockSize() != 0) {
            // Encoded again as the writer goes on: the same bytes, and the packing's state.
            for (const auto& reading : *readings) tail.Encode(reading);
            for (size_t i = 0; i < readings->size(); i += kFanOut) {
                const size_t end = std::min(readings->size(), i + kFanOut);
                tail.Pending[1].push_back(EnvelopeOf(std::span(*readings).subspan(i, end - i)));
            }
        }
    } else if (!last.Done()) {
        return fail(db.Error());
    }

    for (int level = 2; level <= kTopLevel; ++level) {
        // Whole entries of this level not yet in a chunk: one stored chunk of the level below
        // each. Then the open entry, made of everything pending below.
        const qint64 whole = tail.Count >> (kLevelBits * level);
        const qint64 first = whole & ~qint64(kFanOut - 1);
        qint64 bad = 0;
        if (!MergedChunksBelow(db, tail, level, first, whole, tail.Pending[level], bad)) {
            const bool block = !tail.StoresLevel(level - 1);
            const QString detail =
                block ? QStringLiteral(
                            "block %1 does not read (it fails its checksum or is "
                            "missing)")
                            .arg(bad)
                      : QStringLiteral(
                            "the envelope row of level %1, number %2, does not read "
                            "(it fails its checksum or is missing)")
                            .arg(level - 1)
                            .arg(bad);
            // The readings before the first block the row covers need none of it.
            const qint64 endsAt = block ? bad : (bad << (kLevelBits * level)) / kBlockReadings;
            if (damage) *damage = TailDamage{endsAt, block, detail};
            return fail(detail);
        }
        if (!tail.Pending[level - 1].empty()) {
            Envelope open;
            for (const auto& entry : tail.Pending[level - 1]) open.Merge(entry);
            tail.Pending[level].push_back(open);
        }
    }
    return tail;
}

}  // namespace kr820::store
