// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>

namespace kr820::link {

// The serial devices the program offers and the one chosen. The choice is a text, as the user
// may type a device that is not listed; its index is that of the first listed entry with the
// same text, or -1.
class DeviceList {
public:
    DeviceList() = default;
    // The first entry is chosen; with none, nothing is.
    explicit DeviceList(QStringList entries);

    int Count() const { return static_cast<int>(m_entries.size()); }
    const QStringList& Entries() const { return m_entries; }

    // -1, or an index past the end, chooses nothing: an empty text.
    void Choose(int index);
    void ChooseText(const QString& text) { m_chosen = text; }
    const QString& ChosenText() const { return m_chosen; }
    int ChosenIndex() const { return static_cast<int>(m_entries.indexOf(m_chosen)); }

    // The choice stays as it was.
    void Remove(int index);

private:
    QStringList m_entries;
    QString m_chosen;
};

}  // namespace kr820::link
