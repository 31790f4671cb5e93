// SPDX-License-Identifier: MIT
#include "store/sqlite_db.h"

#include <sqlite3.h>

#include <QUrl>
#include <utility>

namespace kr820::store {

std::optional<SqliteDb> SqliteDb::Open(const QString& path, Mode mode, QString* error) {
    int flags = SQLITE_OPEN_NOMUTEX;
    switch (mode) {
        case Mode::Create:
            flags |= SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
            break;
        case Mode::ReadWrite:
            flags |= SQLITE_OPEN_READWRITE;
            break;
        case Mode::Read:
            flags |= SQLITE_OPEN_READONLY;
            break;
        case Mode::FileAlone:
            flags |= SQLITE_OPEN_READONLY | SQLITE_OPEN_URI;
            break;
    }
    // immutable=1: SQLite neither locks nor looks at the log; the path is escaped for the URI.
    const QByteArray name = mode == Mode::FileAlone
                                ? "file:" + QUrl::toPercentEncoding(path, "/") + "?immutable=1"
                                : path.toUtf8();
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(name.constData(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        if (error) *error = QString::fromUtf8(db ? sqlite3_errmsg(db) : sqlite3_errstr(rc));
        sqlite3_close(db);
        return std::nullopt;
    }
    sqlite3_extended_result_codes(db, 1);
    // A writer holds the file only for the moment of a commit; a reader waits that out.
    sqlite3_busy_timeout(db, 2000);
    return SqliteDb(db);
}

SqliteDb::SqliteDb(SqliteDb&& other) noexcept : m_db(std::exchange(other.m_db, nullptr)) {}

SqliteDb& SqliteDb::operator=(SqliteDb&& other) noexcept {
    if (this != &other) {
        sqlite3_close_v2(m_db);
        m_db = std::exchange(other.m_db, nullptr);
    }
    return *this;
}

SqliteDb::~SqliteDb() { Close(); }

void SqliteDb::Close() {
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

bool SqliteDb::Exec(const char* sql) {
    return sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

QString SqliteDb::Error() const { return QString::fromUtf8(sqlite3_errmsg(m_db)); }

int SqliteDb::ErrorCode() const { return sqlite3_extended_errcode(m_db); }

SqliteStatement::SqliteStatement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v3(db, sql, -1, SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr) != SQLITE_OK) {
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
    }
}

SqliteStatement::SqliteStatement(SqliteStatement&& other) noexcept
    : m_stmt(std::exchange(other.m_stmt, nullptr)), m_done(other.m_done) {}

SqliteStatement& SqliteStatement::operator=(SqliteStatement&& other) noexcept {
    if (this != &other) {
        sqlite3_finalize(m_stmt);
        m_stmt = std::exchange(other.m_stmt, nullptr);
        m_done = other.m_done;
    }
    return *this;
}

SqliteStatement::~SqliteStatement() { sqlite3_finalize(m_stmt); }

SqliteStatement& SqliteStatement::Bind(int index, qint64 value) {
    sqlite3_bind_int64(m_stmt, index, value);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, const QString& text) {
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(m_stmt, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, QByteArrayView blob) {
    sqlite3_bind_blob(m_stmt, index, blob.data(), int(blob.size()), SQLITE_TRANSIENT);
    return *this;
}

SqliteStatement& SqliteStatement::Bind(int index, std::optional<double> value) {
    if (value) {
        sqlite3_bind_double(m_stmt, index, *value);
    } else {
        sqlite3_bind_null(m_stmt, index);
    }
    return *this;
}

SqliteStatement& SqliteStatement::BindNull(int index) {
    sqlite3_bind_null(m_stmt, index);
    return *this;
}

bool SqliteStatement::Step() {
    if (!m_stmt) {
        m_done = false;
        return false;
    }
    const int rc = sqlite3_step(m_stmt);
    m_done = rc == SQLITE_DONE;
    return rc == SQLITE_ROW;
}

bool SqliteStatement::Run() {
    while (Step()) {
    }
    const bool done = m_done;
    Reset();
    return done;
}

void SqliteStatement::Reset() {
    if (m_stmt) {
        sqlite3_reset(m_stmt);
        sqlite3_clear_bindings(m_stmt);
    }
}

qint64 SqliteStatement::Int(int column) const { return sqlite3_column_int64(m_stmt, column); }

double SqliteStatement::Real(int column) const { return sqlite3_column_double(m_stmt, column); }

bool SqliteStatement::IsNull(int column) const {
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

QString SqliteStatement::Text(int column) const {
    const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(text, sqlite3_column_bytes(m_stmt, column));
}

QByteArrayView SqliteStatement::Blob(int column) const {
    const auto* data = static_cast<const char*>(sqlite3_column_blob(m_stmt, column));
    return QByteArrayView(data, sqlite3_column_bytes(m_stmt, column));
}

}  // namespace kr820::store
