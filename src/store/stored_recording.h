// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <memory>

#include "store/store_reader.h"

namespace kr820::store {

// A recording in its store, as windows show it: read through one StoreReader and followed while a
// writer (another process, or this program's recorder) still adds to it. Windows hold it
// shared, so that a recording outlives the window that showed it first.
class StoredRecording : public QObject {
    Q_OBJECT

public:
    // Nothing, with `error` set to a message for the user, when the file is no store this
    // version reads.
    static std::shared_ptr<StoredRecording> Open(const QString& path, QString* error);

    StoreReader& Reader() { return *m_reader; }
    const QString& Path() const { return m_reader->Path(); }
    qint64 Count() const { return m_reader->Count(); }
    const StoreHeader& Header() const { return m_reader->Header(); }

    // Polls for what a writer committed, every `interval`, until StopFollowing; also after a
    // stop, since the store may be resumed.
    void Follow(std::chrono::milliseconds interval);
    void StopFollowing() { m_poll.stop(); }
    bool Following() const { return m_poll.isActive(); }
    // Takes up what was committed since the last look; grown() tells of new readings or a
    // changed header (a stop, or a resume that took the stop away).
    bool Refresh();

signals:
    void grown();

private:
    explicit StoredRecording(std::unique_ptr<StoreReader> reader);

    std::unique_ptr<StoreReader> m_reader;
    QTimer m_poll;
};

}  // namespace kr820::store
