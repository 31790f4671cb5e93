// SPDX-License-Identifier: MIT
#include "store/checksum.h"

// The state on the stack rather than from the library's allocator.
#define XXH_STATIC_LINKING_ONLY
#include <xxhash.h>

#include <QByteArray>
#include <QtEndian>

namespace kr820::store {

quint32 Checksum(qint64 firstKey, qint64 secondKey, QByteArrayView bytes) {
    char keys[16];
    qToLittleEndian(firstKey, keys);
    qToLittleEndian(secondKey, keys + 8);
    XXH32_state_t state;
    XXH32_reset(&state, 0);
    XXH32_update(&state, keys, sizeof keys);
    XXH32_update(&state, bytes.data(), size_t(bytes.size()));
    return XXH32_digest(&state);
}

void AppendChecksum(QByteArray& bytes, qint64 firstKey, qint64 secondKey) {
    char sum[kChecksumBytes];
    qToLittleEndian(Checksum(firstKey, secondKey, bytes), sum);
    bytes.append(sum, kChecksumBytes);
}

std::optional<QByteArrayView> CheckedBytes(QByteArrayView sealed, qint64 firstKey,
                                           qint64 secondKey) {
    if (sealed.size() < kChecksumBytes) return std::nullopt;
    const QByteArrayView bytes = sealed.first(sealed.size() - kChecksumBytes);
    const auto stored = qFromLittleEndian<quint32>(sealed.data() + bytes.size());
    if (stored != Checksum(firstKey, secondKey, bytes)) return std::nullopt;
    return bytes;
}

}  // namespace kr820::store
