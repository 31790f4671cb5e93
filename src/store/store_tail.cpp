// SPDX-License-Identifier: MIT
#include "store/store_tail.h"

#include <QStringLiteral>
#include <limits>

#include "store/block_codec.h"

namespace kr820::store {

void StoreTail::Take(const StoredReading& reading, std::vector<Chunk>& filled) {
    const qint64 n = Count;
    if (n % kBlockReadings == 0) {
        Block.clear();
        BlockFirstMs = reading.TimeMs;
    }
    AppendToBlock(Block, BlockFirstMs, reading);
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

std::optional<StoreTail> LoadTail(SqliteDb& db, QString* error, std::optional<qint64> endBlock) {
    const auto fail = [&](QString message) -> std::optional<StoreTail> {
        if (error) *error = std::move(message);
        return std::nullopt;
    };
    StoreTail tail;
    SqliteStatement last(
        db.Handle(),
        "SELECT block, first_ms, readings FROM blocks WHERE block >= 0 AND block < ?1 ORDER BY "
        "block DESC LIMIT 1");
    last.Bind(1, endBlock.value_or(std::numeric_limits<qint64>::max()));
    if (last.Step()) {
        const qint64 block = last.Int(0);
        const auto readings = DecodeBlock(last.Blob(2), last.Int(1));
        if (block < 0 || block > kMaxReadings / kBlockReadings || !readings || readings->empty()) {
            return fail(QStringLiteral("its last block of readings does not read"));
        }
        tail.Count = block * kBlockReadings + qint64(readings->size());
        if (tail.OpenBlockSize() != 0) {
            tail.BlockFirstMs = last.Int(1);
            tail.Block = last.Blob(2).toByteArray();
            for (size_t i = 0; i < readings->size(); i += kFanOut) {
                const size_t end = std::min(readings->size(), i + kFanOut);
                tail.Pending[1].push_back(EnvelopeOf(std::span(*readings).subspan(i, end - i)));
            }
        }
    } else if (!last.Done()) {
        return fail(db.Error());
    }

    SqliteStatement chunks(db.Handle(),
                           "SELECT chunk, entries FROM envelopes WHERE level = ?1 AND chunk >= ?2 "
                           "AND chunk < ?3 ORDER BY chunk");
    for (int level = 2; level <= kTopLevel; ++level) {
        // Whole entries of this level not yet in a chunk: one stored chunk of the level below
        // each. Then the open entry, made of everything pending below.
        const qint64 whole = tail.Count >> (kLevelBits * level);
        const qint64 first = whole & ~qint64(kFanOut - 1);
        chunks.Bind(1, qint64(level - 1)).Bind(2, first).Bind(3, whole);
        qint64 expected = first;
        while (chunks.Step()) {
            const auto entries = DecodeEnvelopes(chunks.Blob(1));
            if (chunks.Int(0) != expected || !entries || entries->size() != size_t(kFanOut)) {
                chunks.Reset();
                return fail(QStringLiteral("its envelope rows do not read"));
            }
            Envelope merged;
            for (const auto& entry : *entries) merged.Merge(entry);
            tail.Pending[level].push_back(merged);
            ++expected;
        }
        chunks.Reset();
        if (expected != whole) return fail(QStringLiteral("envelope rows are missing"));
        if (!tail.Pending[level - 1].empty()) {
            Envelope open;
            for (const auto& entry : tail.Pending[level - 1]) open.Merge(entry);
            tail.Pending[level].push_back(open);
        }
    }
    return tail;
}

}  // namespace kr820::store
