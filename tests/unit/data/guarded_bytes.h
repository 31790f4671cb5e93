// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArrayView>

namespace kr820::core::testing {

// A copy of some bytes that ends right where an inaccessible page begins, so that a decoder
// reading one byte past the end faults at once instead of reading a neighbour's memory.
class GuardedBytes {
public:
    explicit GuardedBytes(QByteArrayView bytes);
    ~GuardedBytes();
    GuardedBytes(const GuardedBytes&) = delete;
    GuardedBytes& operator=(const GuardedBytes&) = delete;

    QByteArrayView View() const { return {m_data, m_size}; }

private:
    void* m_mapping = nullptr;
    qsizetype m_mappingBytes = 0;
    const char* m_data = nullptr;
    qsizetype m_size = 0;
};

}  // namespace kr820::core::testing
