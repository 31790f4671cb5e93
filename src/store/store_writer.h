// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>
#include <span>
#include <vector>

#include "store/sqlite_db.h"
#include "store/store_tail.h"
#include "store/stored_reading.h"
#include "store/writer_claim.h"

namespace kr820::store {

// Appends a recording to its store as it is taken. Every append is committed before it
// returns, so that a killed program loses nothing appended; at least every 60 seconds of
// recording time the commit also goes down to the disk and the log into the file, so that a power
// cut loses 60 seconds at most and a copy of the file alone misses about as much. Each sync and
// each restart of the log costs the disk a few pages whatever it holds (the log's shared-memory
// index, "-shm", most), each reading one small page of the log: so the syncs are rare
// (bench/store_writes_figure). One writer at a time: a second one is refused while the first
// lives.
//
// After any failure (disk full, the file gone) the writer refuses everything that follows and
// FailureReason() says why; everything appended before stays in the store.
class StoreWriter {
public:
    // A new store; an existing file is never replaced.
    static std::unique_ptr<StoreWriter> Create(const QString& path, const StoreHeader& header,
                                               QString* error);
    // Goes on with a store whose writer was killed or stopped, after its last committed reading;
    // a stopped store is taken up again (its stop is taken away) when something is added. A log
    // beside it that is not its own is refused, the store left as it is.
    static std::unique_ptr<StoreWriter> Resume(const QString& path, QString* error);
    ~StoreWriter();
    StoreWriter(const StoreWriter&) = delete;
    StoreWriter& operator=(const StoreWriter&) = delete;

    // A reading earlier than the last one (the clock set back) keeps its own time; the step is
    // marked as a gap of cause ClockSetBack from its time to the last one's, and the store
    // turns format 2. Readers take the order of the readings from the store, not their times.
    bool Append(const StoredReading& reading);
    // Many readings in one commit (an import, or catching up).
    bool AppendMany(std::span<const StoredReading> readings);
    bool AddAlarmMark(const AlarmMark& mark);
    bool BeginGap(qint64 fromMs, GapCause cause);
    // Closes the open gaps; never before they begin (the clock set back meanwhile).
    bool EndGap(qint64 toMs);
    bool MarkGap(const Gap& gap);
    // The stop goes into the header and the store down to the disk as one file.
    bool Finish(qint64 stoppedMs);

    qint64 Count() const { return m_tail.Count; }
    const StoreHeader& Header() const { return m_header; }
    std::optional<qint64> LastTimeMs() const { return m_lastMs; }
    // A gap begun and not yet ended, also one left by a killed writer.
    bool GapOpen() const { return m_gapOpen; }
    bool Failed() const { return !m_failure.isEmpty(); }
    const QString& FailureReason() const { return m_failure; }

    // The longest stretch of recording time that a power cut may take.
    static constexpr qint64 kDurableEveryMs = 60'000;

private:
    StoreWriter(QString path, SqliteDb db, WriterClaim claim);
    bool Prepare();
    bool Write(std::span<const StoredReading> readings);
    bool PutFullBlock(qint64 block);
    bool PutOpenBlock();
    bool Commit(qint64 timeMs);
    bool Fail(const QString& detail);
    // Folds the log into the file and empties it (after a stop or a recovery).
    bool Checkpoint();
    bool TakeUpStop();
    bool MarkClockStep(qint64 fromMs, qint64 toMs);

    QString m_path;
    SqliteDb m_db;
    WriterClaim m_claim;
    StoreHeader m_header;
    StoreTail m_tail;
    std::optional<qint64> m_lastMs;
    std::optional<qint64> m_lastDurableMs;
    bool m_gapOpen = false;
    bool m_stopToTakeUp = false;
    bool m_timesMayGoBack = false;
    QString m_failure;
    std::vector<StoreTail::Chunk> m_filled;
    // The open block whose row has room for all its readings, and how many bytes of them it
    // holds: a reading is written in place after them.
    qint64 m_roomyBlock = -1;
    qsizetype m_roomyWritten = 0;
    SqliteStatement m_begin;
    SqliteStatement m_commit;
    SqliteStatement m_syncFull;
    SqliteStatement m_syncNormal;
    SqliteStatement m_putBlock;
    SqliteStatement m_putFullBlock;
    SqliteStatement m_putChunk;
};

}  // namespace kr820::store
