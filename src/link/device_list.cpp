// SPDX-License-Identifier: MIT
#include "link/device_list.h"

namespace kr820::link {

DeviceList::DeviceList(QStringList entries) : m_entries(std::move(entries)) { Choose(0); }

void DeviceList::Choose(int index) {
    m_chosen = index >= 0 && index < Count() ? m_entries.at(index) : QString();
}

void DeviceList::Remove(int index) {
    if (index >= 0 && index < Count()) m_entries.removeAt(index);
}

}  // namespace kr820::link
