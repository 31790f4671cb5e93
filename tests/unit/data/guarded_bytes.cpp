// SPDX-License-Identifier: MIT
#include "guarded_bytes.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstring>
#include <stdexcept>

namespace kr820::core::testing {

GuardedBytes::GuardedBytes(QByteArrayView bytes) : m_size(bytes.size()) {
    const qsizetype page = sysconf(_SC_PAGESIZE);
    const qsizetype dataPages = (bytes.size() + page - 1) / page;
    m_mappingBytes = (dataPages + 1) * page;
    m_mapping =
        mmap(nullptr, m_mappingBytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (m_mapping == MAP_FAILED) throw std::runtime_error("mmap failed");
    char* guard = static_cast<char*>(m_mapping) + dataPages * page;
    if (mprotect(guard, page, PROT_NONE) != 0) {
        munmap(m_mapping, m_mappingBytes);
        throw std::runtime_error("mprotect failed");
    }
    char* data = guard - bytes.size();
    if (!bytes.isEmpty()) std::memcpy(data, bytes.data(), bytes.size());
    m_data = data;
}

GuardedBytes::~GuardedBytes() { munmap(m_mapping, m_mappingBytes); }

}  // namespace kr820::core::testing
