// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

#include "store/sqlite_db.h"
#include "store/store_format.h"
#include "store/stored_reading.h"

namespace kr820::store {

// The store's layout. A version that reads a store checks both numbers first: another program's
// database is refused, and so is a newer format, which this version could only misread.
//   header        one row: the format version and what the recording is
//   blocks        256 readings to a row (block_codec.h), keyed by block number, indexed by time
//   envelopes     16 envelope entries to a row (envelope.h), keyed by level and chunk number;
//                 only whole chunks are stored, the growing end is rebuilt from the rows below
//   gaps          stretches without readings, and the clock's steps back
//   alarm_marks   raises and clears of alarms
// The formats are in store_format.h.
inline constexpr int kStoreApplicationId = 0x4b523230;  // "KR20"
// Small pages: a reading changes one page, and every change costs a page in the log.
inline constexpr int kStorePageSize = 512;

// Makes the tables of a new store (the newest format) in WAL mode and writes its header.
bool CreateSchema(SqliteDb& db, const StoreHeader& header, QString* error);
// Turns a format-1 store into format 2; in the writer's transaction.
bool MarkTimesMayGoBack(SqliteDb& db);
// The store's format number, after ReadHeader accepted it.
std::optional<qint64> FormatVersion(SqliteDb& db);

// The header, after the checks above; `error` says what is wrong with the file otherwise.
std::optional<StoreHeader> ReadHeader(SqliteDb& db, const QString& path, QString* error);

// What a user is told about a store that this version does not read.
QString NotAStoreMessage(const QString& path);
QString NewerFormatMessage(const QString& path, qint64 version);
QString DamagedStoreMessage(const QString& path, const QString& detail);
// `secondsMissing`: from the last reading to the file's last change, when that is plausibly a
// copy taken while it was recorded.
QString IncompleteStoreMessage(const QString& path, std::optional<qint64> secondsMissing);
QString UnreadLogMessage(const QString& path);
QString DamagedShownMessage(const QString& path, const QString& detail, qint64 shownReadings);

}  // namespace kr820::store
