// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <optional>

#include "store/sqlite_db.h"

namespace kr820::store {

// How a store is opened for reading: read-only, so that no reader ever changes a store or folds a
// log into it. A log left beside the file (its "-wal") is read only when it belongs to the file:
// it holds the same recording and only adds to what the file holds. A store that cannot take
// SQLite's side files (read-only media, a folder the user cannot write) is read from its file
// alone.
struct ReadOpening {
    SqliteDb Db;
    bool FileAlone = false;    // read without locks and without its log
    bool WriterAlive = false;  // a writer holds the store now
    bool LogPresent = false;   // a log with commits beside the file
};

// Nothing, with `error` set to a message for the user, when the file cannot be read or its log
// belongs to another recording (the store is then left as it is).
std::optional<ReadOpening> OpenStoreForReading(const QString& path, QString* error);

// Whether a log with commits lies beside `path`.
bool LogPresent(const QString& path);

// Whether the log beside `path` may be read with it (`withLog` is a connection that reads both);
// `error` says why not.
bool LogBelongs(const QString& path, SqliteDb& withLog, QString* error);

QString ForeignLogMessage(const QString& path);

}  // namespace kr820::store
