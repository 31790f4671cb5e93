// SPDX-License-Identifier: MIT
#include "store/store_opening.h"

#include <sqlite3.h>

#include <QDir>
#include <QFileInfo>
#include <algorithm>

#include "store/block_codec.h"
#include "store/store_schema.h"
#include "store/writer_claim.h"

namespace kr820::store {
namespace {

// A log's own header is 32 bytes; anything more holds commits.
constexpr qint64 kLogHeaderBytes = 32;

// What a connection sees of a store: the header and its last row of readings.
struct SeenState {
    StoreHeader Header;
    qint64 Count = 0;
    qint64 LastBlock = -1;
    qint64 LastBlockFirstMs = 0;
    std::optional<std::vector<StoredReading>> LastBlockReadings;  // none: it does not read
};

std::optional<SeenState> See(SqliteDb& db, const QString& path, QString* error) {
    if (!db.Exec("BEGIN")) {
        if (error) *error = db.Error();
        return std::nullopt;
    }
    std::optional<SeenState> seen;
    if (auto header = ReadHeader(db, path, error)) {
        SqliteStatement last(db.Handle(),
                             "SELECT block, first_ms, readings FROM blocks ORDER BY block DESC "
                             "LIMIT 1");
        SeenState state;
        state.Header = *header;
        if (last.Step()) {
            state.LastBlock = last.Int(0);
            state.LastBlockFirstMs = last.Int(1);
            const int format = int(FormatVersion(db).value_or(kPlainFormatVersion));
            state.LastBlockReadings =
                DecodeStoredBlock(format, last.Blob(2), state.LastBlock, state.LastBlockFirstMs);
            state.Count = state.LastBlock * kBlockReadings +
                          qint64(state.LastBlockReadings ? state.LastBlockReadings->size() : 0);
            seen = state;
        } else if (last.Done()) {
            seen = state;
        } else if (error) {
            *error = db.Error();
        }
    }
    db.Exec("COMMIT");
    return seen;
}

bool SameRecording(const StoreHeader& a, const StoreHeader& b) {
    return a.StartMs == b.StartMs && a.RateSeconds == b.RateSeconds &&
           a.PointsAsked == b.PointsAsked && a.Device == b.Device && a.Fahrenheit == b.Fahrenheit;
}

// The log only adds: the same recording, no fewer readings, the file's last row grown at most,
// and nothing after a stop the file already holds (a resume first takes the stop away).
bool Extends(const SeenState& file, const SeenState& log, SqliteDb& withLog) {
    if (!SameRecording(file.Header, log.Header) || log.Count < file.Count) return false;
    if (file.Header.StoppedMs && log.Header.StoppedMs) {
        if (*log.Header.StoppedMs < *file.Header.StoppedMs) return false;
        if (*log.Header.StoppedMs == *file.Header.StoppedMs && log.Count != file.Count)
            return false;
    }
    if (file.LastBlock < 0) return true;
    // The readings of the file's last row begin that row as the log has it (a file whose last
    // row does not read has nothing there to lose).
    if (!file.LastBlockReadings) return true;
    SqliteStatement row(withLog.Handle(), "SELECT first_ms, readings FROM blocks WHERE block = ?1");
    row.Bind(1, file.LastBlock);
    if (!row.Step() || row.Int(0) != file.LastBlockFirstMs) return false;
    const auto grown = DecodeStoredBlock(int(FormatVersion(withLog).value_or(kPlainFormatVersion)),
                                         row.Blob(1), file.LastBlock, file.LastBlockFirstMs);
    const auto& before = *file.LastBlockReadings;
    return grown && grown->size() >= before.size() &&
           std::equal(before.begin(), before.end(), grown->begin());
}

}  // namespace

QString ForeignLogMessage(const QString& path) {
    const QString file = QDir::toNativeSeparators(path);
    return QStringLiteral(
               "%1 has a log beside it (%1-wal) that does not belong to it: it was not read and "
               "the recording was left as it is. Move %1-wal away to open the recording as its "
               "file holds it.")
        .arg(file);
}

bool LogPresent(const QString& path) {
    return QFileInfo(path + QStringLiteral("-wal")).size() > kLogHeaderBytes;
}

bool LogBelongs(const QString& path, SqliteDb& withLog, QString* error) {
    const auto refuse = [&] {
        if (error) *error = ForeignLogMessage(path);
        return false;
    };
    auto alone = SqliteDb::Open(path, SqliteDb::Mode::FileAlone, nullptr);
    if (!alone) return refuse();
    // A file that holds no store yet (its writer died before the first checkpoint) has nothing
    // to lose: the log is all there is.
    const auto file = See(*alone, path, nullptr);
    alone->Close();
    QString detail;
    const auto log = See(withLog, path, &detail);
    if (!log) {
        if (!file) {
            if (error) *error = detail;
            return false;
        }
        return refuse();
    }
    if (file && !Extends(*file, *log, withLog)) return refuse();
    return true;
}

std::optional<ReadOpening> OpenStoreForReading(const QString& path, QString* error) {
    if (!QFileInfo(path).isFile()) {
        if (error) *error = QStringLiteral("%1 does not exist.").arg(path);
        return std::nullopt;
    }
    ReadOpening opening;
    opening.WriterAlive = WriterClaim::Held(path);
    opening.LogPresent = LogPresent(path);
    auto db = SqliteDb::Open(path, SqliteDb::Mode::Read, error);
    if (!db) return std::nullopt;
    if (!db->Exec("SELECT count(*) FROM sqlite_master")) {
        const int code = db->ErrorCode() & 0xff;
        // The log and its index cannot be made beside the file: nobody can write it there.
        if (code == SQLITE_CANTOPEN || code == SQLITE_READONLY) {
            db = SqliteDb::Open(path, SqliteDb::Mode::FileAlone, error);
            if (!db) return std::nullopt;
            opening.FileAlone = true;
        }
    }
    if (!opening.FileAlone && opening.LogPresent && !opening.WriterAlive &&
        !LogBelongs(path, *db, error)) {
        return std::nullopt;
    }
    opening.Db = std::move(*db);
    return opening;
}

}  // namespace kr820::store
