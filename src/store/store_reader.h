// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "store/block_index_check.h"
#include "store/draw_plan.h"
#include "store/sqlite_db.h"
#include "store/store_tail.h"
#include "store/stored_reading.h"

namespace kr820::store {

struct ReadOpening;

// Reads a recording store, also one that another process is still writing: the store is a
// snapshot taken at Open and moved on by Refresh, so that a follower polls for new readings.
// Memory stays small whatever the length: one block of readings is decoded at a time.
class StoreReader {
public:
    // Nothing, with `error` set to a message for the user, when the file is no store this
    // version reads.
    static std::unique_ptr<StoreReader> Open(const QString& path, QString* error);

    const QString& Path() const { return m_path; }
    const StoreHeader& Header() const { return m_header; }
    qint64 Count() const { return m_tail.Count; }
    // What a user should know of a store that reads: it is incomplete (a copy of its file alone
    // taken while it was recorded, or its log out of reach). Empty when there is nothing to say.
    const QString& Notice() const { return m_notice; }
    // Damage found in the index at Open: Notice() says what, and only the readings before it
    // are the reader's.
    bool Damaged() const { return m_damage.has_value() || !m_badKey.isEmpty(); }
    // The message of the last read that failed (damage found after opening).
    const QString& Failure() const { return m_failure; }

    // Takes up what the writer committed since the last snapshot. True when anything changed.
    bool Refresh();

    std::optional<StoredReading> At(qint64 index);
    // The first index whose reading is at or after `timeMs` (Count() when none is). Where the
    // clock was set back, times occur twice: an index of one of them, always in [0, Count()].
    qint64 LowerBound(qint64 timeMs);
    // The reading closest in time, for the pointer readout.
    std::optional<qint64> Nearest(qint64 timeMs);
    // Readings [first, end) in order, a block at a time; `visit` returns false to stop. False
    // when a block could not be read.
    bool ForEach(qint64 first, qint64 end,
                 const std::function<bool(qint64 index, const StoredReading&)>& visit);

    // Envelope entries [first, end) of a level (1..kTopLevel); the last may be partial.
    std::optional<std::vector<Envelope>> Entries(int level, qint64 first, qint64 end);
    // Extremes, mean and number of valid values of readings [first, end), from a few entries.
    std::optional<Envelope> Summarize(qint64 first, qint64 end);
    // What a chart draws for the times [fromMs, toMs] over `pixels` columns.
    std::optional<DrawPlan> Draw(qint64 fromMs, qint64 toMs, int pixels);

    // The stretches without readings, in time order.
    std::vector<Gap> Gaps();
    // The clock's steps back (cause ClockSetBack), in the order they were taken.
    std::vector<Gap> ClockSteps();
    // The gaps and the clock's steps together, in the order they were marked.
    std::vector<Gap> GapsAsMarked();
    std::vector<AlarmMark> AlarmMarks(qint64 fromMs, qint64 toMs);

private:
    StoreReader(QString path, SqliteDb db);
    bool TakeSnapshot(QString* error);
    // The readings of block `block`, from the snapshot's open block or the database.
    const std::vector<StoredReading>* BlockReadings(qint64 block);
    bool Fail(const QString& detail);
    // What the user is told of a block that does not read: its number and the times it covers.
    QString BlockDamage(qint64 block, bool checksumFailed);
    QString IncompleteNotice(const ReadOpening& opening);

    QString m_path;
    SqliteDb m_db;
    StoreHeader m_header;
    StoreTail m_tail;
    qint64 m_cachedBlock = -1;
    std::vector<StoredReading> m_cache;
    qint64 m_dataVersion = -1;
    QString m_failure;
    QString m_notice;
    std::optional<IndexDamage> m_damage;
    QString m_badKey;
    SqliteStatement m_blockQuery;
    SqliteStatement m_blockAtTimeQuery;
    SqliteStatement m_chunkQuery;
};

// A cursor over readings [first, end): for exports that write one row at a time.
class ReadingCursor {
public:
    ReadingCursor(StoreReader& reader, qint64 first, qint64 end)
        : m_reader(reader), m_next(first), m_end(end) {}
    // The next reading, or nothing at the end or when a block could not be read (the reader's
    // Failure() then says why).
    std::optional<StoredReading> Next();
    qint64 NextIndex() const { return m_next; }

private:
    StoreReader& m_reader;
    qint64 m_next;
    qint64 m_end;
};

}  // namespace kr820::store
