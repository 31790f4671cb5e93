// SPDX-License-Identifier: MIT
#include "core/realtime/real_time_journal_file.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "core/files/save_file.h"

namespace kr820::core {
namespace {

constexpr TDateTime kSyncEvery = 10 * kOneSecond;

// The journal's name in its folder survives a power loss only once the folder is synced too.
void SyncFolderOf(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const int handle = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (handle < 0) return;
    ::fsync(handle);
    ::close(handle);
}

}  // namespace

QString RealTimeJournalPath(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("RealTimeRecording.journal"));
}

RealTimeJournalWriter::RealTimeJournalWriter(QString path)
    : m_path(std::move(path)), m_file(m_path) {}

RealTimeJournalWriter::~RealTimeJournalWriter() { Close(); }

bool RealTimeJournalWriter::Begin(const RealTimeJournalStart& start) {
    Close();
    m_failure.clear();
    QDir().mkpath(QFileInfo(m_path).absolutePath());
    // Not truncated on opening: a journal another program holds must stay whole.
    if (!m_file.open(QIODevice::ReadWrite | QIODevice::Unbuffered)) return Fail(m_file.errorString());
    if (::flock(m_file.handle(), LOCK_EX | LOCK_NB) != 0) {
        m_file.close();
        return Fail(QStringLiteral("another running program records into it"));
    }
    if (!m_file.resize(0)) return Fail(m_file.errorString());
    if (!Write(JournalMagic() + EncodeJournalStart(start)) || !Sync()) return false;
    SyncFolderOf(m_path);
    m_lastSync = start.Start;
    return true;
}

bool RealTimeJournalWriter::Append(const RealTimeJournalPoint& point) {
    if (!IsOpen() || !Write(EncodeJournalPoint(point))) return false;
    if (point.Time - m_lastSync < kSyncEvery) return true;
    m_lastSync = point.Time;
    return Sync();
}

bool RealTimeJournalWriter::AppendMark(const RealTimeJournalMark& mark) {
    // An alarm is what a user least wants to lose: down to the disk at once.
    return IsOpen() && Write(EncodeJournalMark(mark)) && Sync();
}

bool RealTimeJournalWriter::End(TDateTime stopped) {
    return IsOpen() && Write(EncodeJournalStop(stopped)) && Sync();
}

void RealTimeJournalWriter::Remove() {
    Close();
    QFile::remove(m_path);
}

bool RealTimeJournalWriter::Write(const QByteArray& bytes) {
    if (WriteAll(m_file, bytes)) return true;
    return Fail(m_file.error() == QFileDevice::ResourceError ? WriteFailureReason(ENOSPC)
                                                             : m_file.errorString());
}

bool RealTimeJournalWriter::Sync() {
    if (::fsync(m_file.handle()) == 0 || errno == EINVAL) return true;
    return Fail(WriteFailureReason(errno));
}

bool RealTimeJournalWriter::Fail(QString reason) {
    m_failure = std::move(reason);
    Close();
    return false;
}

void RealTimeJournalWriter::Close() {
    if (!m_file.isOpen()) return;
    ::flock(m_file.handle(), LOCK_UN);
    m_file.close();
}

std::optional<RealTimeJournal> ReadRealTimeJournal(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    return DecodeJournal(file.read(MaxJournalBytes()));
}

bool RealTimeJournalHeldElsewhere(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    if (::flock(file.handle(), LOCK_SH | LOCK_NB) != 0) return errno == EWOULDBLOCK;
    ::flock(file.handle(), LOCK_UN);
    return false;
}

}  // namespace kr820::core
