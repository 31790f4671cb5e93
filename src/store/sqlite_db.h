// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <optional>

struct sqlite3;
struct sqlite3_stmt;

namespace kr820::store {

// A thin owner of one SQLite connection and its prepared statements: every call reports failure
// instead of throwing, and the connection's message is at hand for the user.
class SqliteDb {
public:
    // Read never changes the file nor folds a log into it; FileAlone reads the main file as it
    // stands, without its log and without locks (read-only media, or a look at what the file
    // alone holds).
    enum class Mode { Create, ReadWrite, Read, FileAlone };
    // Nothing, with `error` set, when the file cannot be opened.
    static std::optional<SqliteDb> Open(const QString& path, Mode mode, QString* error);
    SqliteDb() = default;  // no connection
    SqliteDb(SqliteDb&& other) noexcept;
    SqliteDb& operator=(SqliteDb&& other) noexcept;
    SqliteDb(const SqliteDb&) = delete;
    ~SqliteDb();

    // Closes the connection now (its statements must be gone).
    void Close();
    bool Exec(const char* sql);
    QString Error() const;
    int ErrorCode() const;
    sqlite3* Handle() const { return m_db; }

private:
    explicit SqliteDb(sqlite3* db) : m_db(db) {}
    sqlite3* m_db = nullptr;
};

class SqliteStatement {
public:
    SqliteStatement() = default;
    SqliteStatement(sqlite3* db, const char* sql);
    SqliteStatement(SqliteStatement&& other) noexcept;
    SqliteStatement& operator=(SqliteStatement&& other) noexcept;
    SqliteStatement(const SqliteStatement&) = delete;
    ~SqliteStatement();

    bool Valid() const { return m_stmt != nullptr; }
    SqliteStatement& Bind(int index, qint64 value);
    SqliteStatement& Bind(int index, const QString& text);
    SqliteStatement& Bind(int index, QByteArrayView blob);  // copied by SQLite
    SqliteStatement& Bind(int index, std::optional<double> value);
    SqliteStatement& BindNull(int index);
    // True while a row is at hand; Done() tells a clean end from a failure.
    bool Step();
    bool Done() const { return m_done; }
    // Steps a statement that gives no rows; true when it ran to its end.
    bool Run();
    void Reset();

    qint64 Int(int column) const;
    double Real(int column) const;
    bool IsNull(int column) const;
    QString Text(int column) const;
    QByteArrayView Blob(int column) const;  // valid until the next Step or Reset

private:
    sqlite3_stmt* m_stmt = nullptr;
    bool m_done = false;
};

}  // namespace kr820::store
