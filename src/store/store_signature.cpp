// SPDX-License-Identifier: MIT
#include "store/store_signature.h"

#include <QFile>

namespace kr820::store {

bool BeginsAsStore(const QString& path) {
    // The database file's own header, written when the store is made.
    static constexpr char kSqliteHeader[] = "SQLite format 3";  // with its NUL: 16 bytes
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return file.read(sizeof kSqliteHeader) == QByteArray(kSqliteHeader, sizeof kSqliteHeader);
}

}  // namespace kr820::store
