// SPDX-License-Identifier: MIT
#include "store/store_writer.h"

#include <sqlite3.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

#include "store/block_codec.h"
#include "store/packed_block.h"
#include "store/store_opening.h"
#include "store/store_schema.h"

namespace kr820::store {

std::unique_ptr<StoreWriter> StoreWriter::Create(const QString& path, const StoreHeader& header,
                                                 QString* error) {
    if (QFileInfo::exists(path)) {
        if (error) *error = WriteFailure(path, QStringLiteral("the file exists already"));
        return nullptr;
    }
    // A log left by an earlier file of that name belongs to no store now.
    QFile::remove(path + QStringLiteral("-wal"));
    QFile::remove(path + QStringLiteral("-shm"));
    QString detail;
    auto db = SqliteDb::Open(path, SqliteDb::Mode::Create, &detail);
    if (!db) {
        if (error) *error = WriteFailure(path, detail);
        return nullptr;
    }
    db->Exec("PRAGMA synchronous=FULL");
    // Folded in at once: a copy of the file alone is a store from the start.
    if (!CreateSchema(*db, header, &detail) || !db->Exec("PRAGMA wal_checkpoint(TRUNCATE)")) {
        if (error) *error = WriteFailure(path, detail.isEmpty() ? db->Error() : detail);
        return nullptr;
    }
    WriterClaim claim;
    if (!claim.Take(path, error)) return nullptr;
    std::unique_ptr<StoreWriter> writer(new StoreWriter(path, std::move(*db), std::move(claim)));
    writer->m_header = header;
    writer->m_timesMayGoBack = writer->m_tail.Format >= kTimesBackFormatVersion;
    if (!writer->Prepare()) {
        if (error) *error = writer->m_failure;
        return nullptr;
    }
    return writer;
}

std::unique_ptr<StoreWriter> StoreWriter::Resume(const QString& path, QString* error) {
    WriterClaim claim;
    if (!claim.Take(path, error)) return nullptr;
    QString detail;
    // Opening read-write folds the log into the file: first make sure that it is this store's.
    if (LogPresent(path)) {
        auto reader = SqliteDb::Open(path, SqliteDb::Mode::Read, &detail);
        if (!reader || !LogBelongs(path, *reader, error)) {
            if (!reader && error) *error = WriteFailure(path, detail);
            return nullptr;
        }
    }
    auto db = SqliteDb::Open(path, SqliteDb::Mode::ReadWrite, &detail);
    if (!db) {
        if (error) *error = WriteFailure(path, detail);
        return nullptr;
    }
    std::unique_ptr<StoreWriter> writer(new StoreWriter(path, std::move(*db), std::move(claim)));
    SqliteDb& opened = writer->m_db;
    if (!opened.Exec("BEGIN")) {
        if (error) *error = DamagedStoreMessage(path, opened.Error());
        return nullptr;
    }
    const auto header = ReadHeader(opened, path, error);
    std::optional<StoreTail> tail;
    if (header) tail = LoadTail(opened, &detail);
    opened.Exec("COMMIT");
    if (!header) return nullptr;
    if (!tail) {
        if (error) *error = DamagedStoreMessage(path, detail);
        return nullptr;
    }
    writer->m_header = *header;
    writer->m_tail = std::move(*tail);
    if (writer->m_tail.Count > 0) {
        if (!writer->m_tail.Open.empty()) {
            writer->m_lastMs = writer->m_tail.Open.back().TimeMs;
        } else {
            // The open block is empty: the last reading ends the block before it.
            SqliteStatement last(opened.Handle(),
                                 "SELECT first_ms, readings FROM blocks WHERE block = ?1");
            const qint64 number = writer->m_tail.OpenBlock() - 1;
            last.Bind(1, number);
            if (last.Step()) {
                const auto block =
                    DecodeStoredBlock(writer->m_tail.Format, last.Blob(1), number, last.Int(0));
                if (block && !block->empty()) writer->m_lastMs = block->back().TimeMs;
            }
        }
    }
    SqliteStatement open(opened.Handle(), "SELECT count(*) FROM gaps WHERE to_ms IS NULL");
    writer->m_gapOpen = open.Step() && open.Int(0) > 0;
    open = {};
    writer->m_timesMayGoBack = writer->m_tail.Format >= kTimesBackFormatVersion;
    writer->m_stopToTakeUp = writer->m_header.StoppedMs.has_value();
    // What a killed writer left in the log goes into the file now.
    if (!writer->Prepare() || !writer->Checkpoint()) {
        if (error) *error = writer->m_failure;
        return nullptr;
    }
    return writer;
}

StoreWriter::StoreWriter(QString path, SqliteDb db, WriterClaim claim)
    : m_path(std::move(path)), m_db(std::move(db)), m_claim(std::move(claim)) {}

StoreWriter::~StoreWriter() {
    // SQLite closes (and folds its log into the file) before the claim is let go.
    m_begin = {};
    m_commit = {};
    m_syncFull = {};
    m_syncNormal = {};
    m_putBlock = {};
    m_putFullBlock = {};
    m_putChunk = {};
    m_db.Close();
    m_claim.Release();
}

bool StoreWriter::Prepare() {
    if (!m_db.Exec("PRAGMA journal_mode=WAL") || !m_db.Exec("PRAGMA synchronous=NORMAL")) {
        return Fail(m_db.Error());
    }
    const auto db = m_db.Handle();
    m_begin = SqliteStatement(db, "BEGIN IMMEDIATE");
    m_commit = SqliteStatement(db, "COMMIT");
    m_syncFull = SqliteStatement(db, "PRAGMA synchronous=FULL");
    m_syncNormal = SqliteStatement(db, "PRAGMA synchronous=NORMAL");
    m_putBlock = SqliteStatement(db, "INSERT OR REPLACE INTO blocks VALUES(?1, ?2, ?3)");
    // A block that fills keeps its key and time: only its readings change, not the time index.
    m_putFullBlock = SqliteStatement(db,
                                     "INSERT INTO blocks VALUES(?1, ?2, ?3) ON CONFLICT(block) DO "
                                     "UPDATE SET readings = excluded.readings");
    m_putChunk = SqliteStatement(db, "INSERT INTO envelopes VALUES(?1, ?2, ?3)");
    if (!m_begin.Valid() || !m_commit.Valid() || !m_putBlock.Valid() || !m_putFullBlock.Valid() ||
        !m_putChunk.Valid()) {
        return Fail(m_db.Error());
    }
    return true;
}

bool StoreWriter::Fail(const QString& detail) {
    if (m_failure.isEmpty()) m_failure = WriteFailure(m_path, detail);
    m_db.Exec("ROLLBACK");
    return false;
}

bool StoreWriter::Append(const StoredReading& reading) { return AppendMany({&reading, 1}); }

bool StoreWriter::AppendMany(std::span<const StoredReading> readings) {
    if (Failed()) return false;
    if (readings.empty()) return true;
    if (!TakeUpStop()) return false;
    if (!m_begin.Run()) return Fail(m_db.Error());
    if (!Write(readings)) return false;
    return Commit(*m_lastMs);
}

bool StoreWriter::Write(std::span<const StoredReading> readings) {
    m_filled.clear();
    for (const StoredReading& reading : readings) {
        if (m_lastMs && reading.TimeMs < *m_lastMs && !MarkClockStep(reading.TimeMs, *m_lastMs)) {
            return false;
        }
        m_lastMs = reading.TimeMs;
        m_tail.Take(reading, m_filled);
        // A block is written when it fills, and the open one once at the end of the commit.
        if (m_tail.OpenBlockSize() == 0 && !PutFullBlock(m_tail.OpenBlock() - 1)) return false;
    }
    if (m_tail.OpenBlockSize() != 0 && !PutOpenBlock()) return false;
    for (const auto& chunk : m_filled) {
        if (!m_tail.StoresLevel(chunk.Level)) continue;
        if (!m_putChunk.Bind(1, qint64(chunk.Level))
                 .Bind(2, chunk.Index)
                 .Bind(3, QByteArrayView(
                              EncodeChunk(m_tail.Format, chunk.Entries, chunk.Level, chunk.Index)))
                 .Run()) {
            return Fail(m_db.Error());
        }
    }
    return true;
}

bool StoreWriter::PutFullBlock(qint64 block) {
    m_roomyBlock = -1;
    if (m_tail.Format < kPackedFormatVersion) {
        return m_putBlock.Bind(1, block)
                   .Bind(2, m_tail.BlockFirstMs)
                   .Bind(3, QByteArrayView(m_tail.Block))
                   .Run() ||
               Fail(m_db.Error());
    }
    return m_putFullBlock.Bind(1, block)
               .Bind(2, m_tail.BlockFirstMs)
               .Bind(3, QByteArrayView(SealPacked(m_tail.Block, block, m_tail.BlockFirstMs)))
               .Run() ||
           Fail(m_db.Error());
}

bool StoreWriter::PutOpenBlock() {
    const qint64 block = m_tail.OpenBlock();
    if (m_tail.Format < kPackedFormatVersion) {
        return m_putBlock.Bind(1, block)
                   .Bind(2, m_tail.BlockFirstMs)
                   .Bind(3, QByteArrayView(m_tail.Block))
                   .Run() ||
               Fail(m_db.Error());
    }
    const QByteArray sealed = SealPacked(m_tail.Block, block, m_tail.BlockFirstMs);
    // The open block's row has room for all its readings: a reading changes only the bytes from
    // the end of those before it, one small page as a rule, not the whole row.
    if (block == m_roomyBlock && m_roomyWritten <= sealed.size()) {
        sqlite3_blob* blob = nullptr;
        int rc = sqlite3_blob_open(m_db.Handle(), "main", "blocks", "readings", block, 1, &blob);
        if (rc == SQLITE_OK && sqlite3_blob_bytes(blob) >= sealed.size()) {
            rc = sqlite3_blob_write(blob, sealed.constData() + m_roomyWritten,
                                    int(sealed.size() - m_roomyWritten), int(m_roomyWritten));
            sqlite3_blob_close(blob);
            if (rc != SQLITE_OK) return Fail(m_db.Error());
            m_roomyWritten = m_tail.Block.size();
            return true;
        }
        if (blob) sqlite3_blob_close(blob);
    }
    QByteArray roomy = sealed;
    roomy.append(PackedBlockCapacity(kBlockReadings) - sealed.size(), '\0');
    if (!m_putFullBlock.Bind(1, block)
             .Bind(2, m_tail.BlockFirstMs)
             .Bind(3, QByteArrayView(roomy))
             .Run()) {
        return Fail(m_db.Error());
    }
    m_roomyBlock = block;
    m_roomyWritten = m_tail.Block.size();
    return true;
}

bool StoreWriter::MarkClockStep(qint64 fromMs, qint64 toMs) {
    if (!m_timesMayGoBack) {
        if (!MarkTimesMayGoBack(m_db)) return Fail(m_db.Error());
        m_timesMayGoBack = true;
    }
    SqliteStatement insert(m_db.Handle(), "INSERT INTO gaps VALUES(?1, ?2, ?3)");
    insert.Bind(1, fromMs).Bind(2, toMs).Bind(3, qint64(GapCause::ClockSetBack));
    return insert.Run() || Fail(m_db.Error());
}

bool StoreWriter::Commit(qint64 timeMs) {
    // A commit only hands the log to the system (enough for a killed program); one in
    // kDurableEveryMs of recording time also waits for the disk.
    const bool durable = !m_lastDurableMs || timeMs - *m_lastDurableMs >= kDurableEveryMs ||
                         timeMs < *m_lastDurableMs;
    if (durable) m_syncFull.Run();
    const bool committed = m_commit.Run();
    if (durable) m_syncNormal.Run();
    if (!committed) return Fail(m_db.Error());
    if (durable) {
        m_lastDurableMs = timeMs;
        // The file itself catches up as often, so that a copy of it alone misses little. What
        // was committed stays in the log when this fails; the next commit tells of a full disk.
        sqlite3_wal_checkpoint_v2(m_db.Handle(), nullptr, SQLITE_CHECKPOINT_PASSIVE, nullptr,
                                  nullptr);
    }
    return true;
}

bool StoreWriter::Checkpoint() {
    // A reader in the middle of a read may hold the log; it is emptied by a later checkpoint.
    // Only a failure of the disk fails the recording.
    const int rc = sqlite3_wal_checkpoint_v2(m_db.Handle(), nullptr, SQLITE_CHECKPOINT_TRUNCATE,
                                             nullptr, nullptr);
    if (rc == SQLITE_OK || (rc & 0xff) == SQLITE_BUSY || (rc & 0xff) == SQLITE_LOCKED) return true;
    return Fail(m_db.Error());
}

bool StoreWriter::TakeUpStop() {
    if (!m_stopToTakeUp) return true;
    // A stopped store goes on: its header says so before anything is added, in the file itself,
    // so that a log found beside a stopped file is known for another's.
    SqliteStatement update(m_db.Handle(), "UPDATE header SET stopped_ms = NULL");
    m_syncFull.Run();
    const bool updated = update.Run();
    m_syncNormal.Run();
    if (!updated) return Fail(m_db.Error());
    m_stopToTakeUp = false;
    m_header.StoppedMs.reset();
    return Checkpoint();
}

bool StoreWriter::AddAlarmMark(const AlarmMark& mark) {
    if (Failed() || !TakeUpStop()) return false;
    SqliteStatement insert(m_db.Handle(), "INSERT INTO alarm_marks VALUES(?1, ?2, ?3, ?4, ?5, ?6)");
    insert.Bind(1, mark.TimeMs)
        .Bind(2, qint64(mark.Channel))
        .Bind(3, qint64(mark.Kind))
        .Bind(4, qint64(mark.Change))
        .Bind(5, mark.Value)
        .Bind(6, mark.Limit);
    return insert.Run() || Fail(m_db.Error());
}

bool StoreWriter::BeginGap(qint64 fromMs, GapCause cause) {
    return MarkGap({fromMs, std::nullopt, cause});
}

bool StoreWriter::MarkGap(const Gap& gap) {
    if (Failed() || !TakeUpStop()) return false;
    SqliteStatement insert(m_db.Handle(), "INSERT INTO gaps VALUES(?1, ?2, ?3)");
    insert.Bind(1, gap.FromMs).Bind(3, qint64(gap.Cause));
    // Ended by a time before its start, the clock was set back meanwhile: the reading after it
    // marks the step.
    if (gap.ToMs) insert.Bind(2, std::max(*gap.ToMs, gap.FromMs));
    if (!insert.Run()) return Fail(m_db.Error());
    if (!gap.ToMs) m_gapOpen = true;
    return true;
}

bool StoreWriter::EndGap(qint64 toMs) {
    if (Failed() || !TakeUpStop()) return false;
    SqliteStatement update(m_db.Handle(),
                           "UPDATE gaps SET to_ms = max(?1, from_ms) WHERE to_ms IS NULL");
    update.Bind(1, toMs);
    if (!update.Run()) return Fail(m_db.Error());
    m_gapOpen = false;
    return true;
}

bool StoreWriter::Finish(qint64 stoppedMs) {
    if (Failed()) return false;
    SqliteStatement update(m_db.Handle(), "UPDATE header SET stopped_ms = ?1");
    update.Bind(1, stoppedMs);
    m_syncFull.Run();
    if (!update.Run()) return Fail(m_db.Error());
    m_header.StoppedMs = stoppedMs;
    m_stopToTakeUp = false;
    return Checkpoint();
}

}  // namespace kr820::store
