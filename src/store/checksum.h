// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <optional>

namespace kr820::store {

// The check that seals a row of readings or envelopes: xxHash's 32-bit hash of the row's two
// keys (where it belongs, so that a row moved or renumbered fails too) and its bytes.
inline constexpr int kChecksumBytes = 4;
quint32 Checksum(qint64 firstKey, qint64 secondKey, QByteArrayView bytes);

// `bytes` followed by their checksum, little-endian.
void AppendChecksum(QByteArray& bytes, qint64 firstKey, qint64 secondKey);
// The bytes before the checksum when it matches; nothing otherwise.
std::optional<QByteArrayView> CheckedBytes(QByteArrayView sealed, qint64 firstKey,
                                           qint64 secondKey);

}  // namespace kr820::store
