// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace kr820::store {

// The writer's claim on a store: an flock on the store file, which the system drops when the
// process dies, so a killed writer leaves nothing that refuses its successor. (SQLite's own locks
// are fcntl locks, which flock does not touch on Linux.)
class WriterClaim {
public:
    WriterClaim() = default;
    WriterClaim(WriterClaim&& other) noexcept;
    WriterClaim& operator=(WriterClaim&& other) noexcept;
    WriterClaim(const WriterClaim&) = delete;
    ~WriterClaim();

    // Claims `path`; false, with `error` set, when another writer holds it or it cannot be opened.
    bool Take(const QString& path, QString* error);
    void Release();

    // Whether a writer holds `path` now (a reader's look: taken and let go at once).
    static bool Held(const QString& path);

private:
    int m_fd = -1;
};

QString WriteFailure(const QString& path, const QString& detail);

}  // namespace kr820::store
