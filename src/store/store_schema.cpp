// SPDX-License-Identifier: MIT
#include "store/store_schema.h"

#include <sqlite3.h>

#include <QDir>

#include "store/envelope.h"

namespace kr820::store {
namespace {

constexpr const char* kTables = R"(
CREATE TABLE header(format_version INTEGER NOT NULL, start_ms INTEGER NOT NULL,
  rate_seconds INTEGER NOT NULL, points_asked INTEGER, device TEXT NOT NULL, unit TEXT NOT NULL,
  stopped_ms INTEGER);
CREATE TABLE blocks(block INTEGER PRIMARY KEY, first_ms INTEGER NOT NULL, readings BLOB NOT NULL);
CREATE INDEX blocks_by_time ON blocks(first_ms);
CREATE TABLE envelopes(level INTEGER NOT NULL, chunk INTEGER NOT NULL, entries BLOB NOT NULL,
  PRIMARY KEY(level, chunk)) WITHOUT ROWID;
CREATE TABLE gaps(from_ms INTEGER NOT NULL, to_ms INTEGER, cause INTEGER NOT NULL);
CREATE TABLE alarm_marks(time_ms INTEGER NOT NULL, channel INTEGER NOT NULL, kind INTEGER NOT NULL,
  change INTEGER NOT NULL, value REAL, limit_value REAL);
CREATE INDEX alarm_marks_by_time ON alarm_marks(time_ms);
)";

std::optional<qint64> PragmaValue(SqliteDb& db, const char* sql) {
    SqliteStatement statement(db.Handle(), sql);
    if (!statement.Step()) return std::nullopt;
    return statement.Int(0);
}

}  // namespace

QString NotAStoreMessage(const QString& path) {
    return QStringLiteral("%1 is not a recording of this program.")
        .arg(QDir::toNativeSeparators(path));
}

QString NewerFormatMessage(const QString& path, qint64 version) {
    return QStringLiteral(
               "%1 was recorded by a newer version of this program (recording format %2). This "
               "version reads formats up to %3; open the recording with the newer version.")
        .arg(QDir::toNativeSeparators(path))
        .arg(version)
        .arg(kStoreFormatVersion);
}

QString DamagedStoreMessage(const QString& path, const QString& detail) {
    return QStringLiteral("%1 is damaged: %2").arg(QDir::toNativeSeparators(path), detail);
}

QString IncompleteStoreMessage(const QString& path, std::optional<qint64> secondsMissing) {
    const QString missing = secondsMissing
                                ? QStringLiteral("%1 seconds missing").arg(*secondsMissing)
                                : QStringLiteral("the readings after its last one are missing");
    return QStringLiteral(
               "%1 is incomplete: %2. Its recording was not stopped and no "
               "program records it: it is a copy of the file alone taken while it was recorded, "
               "or its log (the -wal file) was lost. While a recording runs, kr820-cli export "
               "copies all of it.")
        .arg(QDir::toNativeSeparators(path), missing);
}

QString DamagedShownMessage(const QString& path, const QString& detail, qint64 shownReadings) {
    return QStringLiteral("%1 is damaged: %2. The %3 readings before the damage are shown.")
        .arg(QDir::toNativeSeparators(path), detail)
        .arg(shownReadings);
}

QString UnreadLogMessage(const QString& path) {
    return QStringLiteral(
               "%1 is incomplete: its log (%1-wal) cannot be read where it lies, because nothing "
               "can be written there. Copy the recording with its -wal file to a folder you can "
               "write to see all of it.")
        .arg(QDir::toNativeSeparators(path));
}

bool CreateSchema(SqliteDb& db, const StoreHeader& header, QString* error) {
    const QByteArray pragmas = QStringLiteral("PRAGMA application_id=%1; PRAGMA user_version=%2;")
                                   .arg(kStoreApplicationId)
                                   .arg(kPackedFormatVersion)
                                   .toUtf8();
    const QByteArray pageSize = QStringLiteral("PRAGMA page_size=%1").arg(kStorePageSize).toUtf8();
    bool ok = db.Exec(pageSize.constData()) && db.Exec("PRAGMA journal_mode=WAL") &&
              db.Exec("BEGIN") && db.Exec(pragmas.constData()) && db.Exec(kTables);
    if (ok) {
        SqliteStatement insert(db.Handle(),
                               "INSERT INTO header VALUES(?1, ?2, ?3, ?4, ?5, ?6, NULL)");
        insert.Bind(1, qint64(kPackedFormatVersion))
            .Bind(2, header.StartMs)
            .Bind(3, qint64(header.RateSeconds))
            .Bind(5, header.Device)
            .Bind(6, header.Fahrenheit ? QStringLiteral("F") : QStringLiteral("C"));
        if (header.PointsAsked) insert.Bind(4, *header.PointsAsked);
        ok = insert.Run() && db.Exec("COMMIT");
    }
    if (!ok) {
        if (error) *error = db.Error();
        db.Exec("ROLLBACK");
    }
    return ok;
}

bool MarkTimesMayGoBack(SqliteDb& db) {
    const QByteArray sql =
        QStringLiteral("PRAGMA user_version=%1; UPDATE header SET format_version=%1")
            .arg(kTimesBackFormatVersion)
            .toUtf8();
    return db.Exec(sql.constData());
}

std::optional<qint64> FormatVersion(SqliteDb& db) {
    SqliteStatement version(db.Handle(), "SELECT format_version FROM header");
    if (!version.Step()) return std::nullopt;
    return version.Int(0);
}

std::optional<StoreHeader> ReadHeader(SqliteDb& db, const QString& path, QString* error) {
    const auto fail = [&](QString message) -> std::optional<StoreHeader> {
        if (error) *error = std::move(message);
        return std::nullopt;
    };
    const auto applicationId = PragmaValue(db, "PRAGMA application_id");
    if (!applicationId) {
        const int code = db.ErrorCode() & 0xff;
        if (code == SQLITE_NOTADB) return fail(NotAStoreMessage(path));
        return fail(DamagedStoreMessage(path, db.Error()));
    }
    if (*applicationId != kStoreApplicationId) return fail(NotAStoreMessage(path));
    const auto userVersion = PragmaValue(db, "PRAGMA user_version").value_or(0);
    if (userVersion > kStoreFormatVersion) return fail(NewerFormatMessage(path, userVersion));

    // The header's own number decides; a later format keeps this column first.
    SqliteStatement version(db.Handle(), "SELECT format_version FROM header");
    if (!version.Step()) {
        return fail(DamagedStoreMessage(path, QStringLiteral("it has no header")));
    }
    const qint64 format = version.Int(0);
    if (format > kStoreFormatVersion) return fail(NewerFormatMessage(path, format));
    if (format < kPlainFormatVersion) {
        return fail(
            DamagedStoreMessage(path, QStringLiteral("unknown recording format %1").arg(format)));
    }

    SqliteStatement select(db.Handle(),
                           "SELECT start_ms, rate_seconds, points_asked, device, unit, stopped_ms "
                           "FROM header");
    if (!select.Step()) return fail(DamagedStoreMessage(path, db.Error()));
    StoreHeader header;
    header.StartMs = select.Int(0);
    header.RateSeconds = int(select.Int(1));
    if (!select.IsNull(2)) header.PointsAsked = select.Int(2);
    header.Device = select.Text(3);
    header.Fahrenheit = select.Text(4) == QLatin1String("F");
    if (!select.IsNull(5)) header.StoppedMs = select.Int(5);
    // Times, rates and lengths are used to size and to divide: bounded before they are.
    constexpr qint64 kMaxRateSeconds = 366LL * 86400;
    const qint64 rate = select.Int(1);
    if (!TimeInRange(header.StartMs) || rate < 1 || rate > kMaxRateSeconds ||
        (header.StoppedMs && !TimeInRange(*header.StoppedMs)) ||
        (header.PointsAsked && (*header.PointsAsked < 0 || *header.PointsAsked > kMaxReadings))) {
        return fail(DamagedStoreMessage(path, QStringLiteral("its header is out of range")));
    }
    return header;
}

}  // namespace kr820::store
