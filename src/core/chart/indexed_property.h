// SPDX-License-Identifier: MIT
#pragma once

#include <QtGlobal>
#include <utility>
#include <vector>

namespace kr820::core {

// A chart property addressed by index (a subset's label, an axis's share of the height), as the
// graph code writes it: any index from 0 up to a fixed capacity may be written first, and the
// entries below it come into being with the fallback value. Reads of entries never written give
// the fallback. The capacity keeps a stray index from allocating without bound.
template <typename T>
class IndexedProperty {
public:
    IndexedProperty(qsizetype capacity, T fallback)
        : m_capacity(capacity), m_fallback(std::move(fallback)) {}

    // Refused (false, nothing changes) for an index below 0 or at or above the capacity.
    bool Set(qsizetype index, T value) {
        if (index < 0 || index >= m_capacity) return false;
        if (index >= Count()) m_values.resize(index + 1, m_fallback);
        m_values[index] = std::move(value);
        return true;
    }

    const T& At(qsizetype index) const {
        return index >= 0 && index < Count() ? m_values[index] : m_fallback;
    }

    qsizetype Count() const { return static_cast<qsizetype>(m_values.size()); }
    qsizetype Capacity() const { return m_capacity; }
    const std::vector<T>& Values() const { return m_values; }

    void Clear() { m_values.clear(); }
    // For a saved block, whose count has been checked against the capacity.
    bool Assign(std::vector<T> values) {
        if (static_cast<qsizetype>(values.size()) > m_capacity) return false;
        m_values = std::move(values);
        return true;
    }

    bool operator==(const IndexedProperty& other) const { return m_values == other.m_values; }

private:
    qsizetype m_capacity;
    T m_fallback;
    std::vector<T> m_values;
};

}  // namespace kr820::core
