// SPDX-License-Identifier: MIT
#include "store/stored_recording.h"

namespace kr820::store {

std::shared_ptr<StoredRecording> StoredRecording::Open(const QString& path, QString* error) {
    std::unique_ptr<StoreReader> reader = StoreReader::Open(path, error);
    if (!reader) return nullptr;
    return std::shared_ptr<StoredRecording>(new StoredRecording(std::move(reader)));
}

StoredRecording::StoredRecording(std::unique_ptr<StoreReader> reader)
    : m_reader(std::move(reader)) {
    connect(&m_poll, &QTimer::timeout, this, &StoredRecording::Refresh);
}

void StoredRecording::Follow(std::chrono::milliseconds interval) {
    m_poll.setInterval(interval);
    m_poll.start();
}

bool StoredRecording::Refresh() {
    // Followed on after a stop: a stopped store may be resumed, and its window goes on with it.
    const qint64 before = m_reader->Count();
    const StoreHeader header = m_reader->Header();
    m_reader->Refresh();
    if (m_reader->Count() == before && m_reader->Header() == header) return false;
    emit grown();
    return true;
}

}  // namespace kr820::store
