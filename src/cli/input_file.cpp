// SPDX-License-Identifier: MIT
#include "cli/input_file.h"

#include <poll.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <cerrno>
#include <optional>

namespace kr820::cli {
namespace {

// How much of the start tells text from binary.
constexpr qsizetype kSniffBytes = 4096;

const QByteArrayView kStoreMark("SQLite format 3\0", 16);
// A collection is the meter's memory as downloaded: its header reply first.
const QByteArrayView kCollectionMark("\x02HEAD", 5);

bool IsBinary(QByteArrayView start) {
    for (const char c : start) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r') || byte == 0x7f)
            return true;
    }
    return false;
}

// How long one wait for standard input lasts before a stop is looked for.
constexpr int kInputLookMs = 100;

// All of `in`. A terminal or a pipe whose writer is slow is waited for a while at a time, so that
// SIGINT and SIGTERM end the wait (a read the handler interrupted would be started again). None
// when a stop came (`problem` empty) or the read failed (`problem` says why).
std::optional<QByteArray> ReadAll(QIODevice& in, const Stopping& stopping, QString& problem) {
    const auto* file = qobject_cast<QFile*>(&in);
    const int fd = file ? file->handle() : -1;
    if (fd < 0) return in.readAll();
    QByteArray bytes;
    char buffer[65536];
    for (;;) {
        if (IsStopping(stopping)) return std::nullopt;
        pollfd ready{fd, POLLIN, 0};
        const int polled = ::poll(&ready, 1, kInputLookMs);
        // A signal ends the poll (never restarted) with EINTR: look at the stop again.
        if (polled == 0 || (polled < 0 && errno == EINTR)) continue;
        if (polled < 0) {
            problem = qt_error_string(errno);
            return std::nullopt;
        }
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            bytes.append(buffer, n);
        } else if (n == 0) {
            return bytes;
        } else if (errno != EINTR && errno != EAGAIN) {
            problem = qt_error_string(errno);
            return std::nullopt;
        }
    }
}

}  // namespace

QString SuffixOfContent(const QString& extension, QByteArrayView start, qint64 size) {
    // Marks no other kind has decide whatever the name.
    if (start.startsWith(kStoreMark)) return QStringLiteral("kr8db");
    if (start.size() >= 4 &&
        qFromLittleEndian<quint32>(start.data()) == static_cast<quint64>(size - 4))
        return QStringLiteral("ghf");
    if (start.startsWith(kCollectionMark)) return QStringLiteral("820");
    // Otherwise the name stands where the bytes are of its sort (a damaged file keeps its kind,
    // and its reader says what is wrong), or where there are none.
    start = start.first(std::min<qsizetype>(start.size(), kSniffBytes));
    const bool binary = IsBinary(start);
    const bool binaryName =
        extension == QStringLiteral("820") || extension == QStringLiteral("ghf");
    const bool textName = extension == QStringLiteral("txt") || extension == QStringLiteral("csv");
    if ((binaryName && (binary || size == 0)) || (textName && !binary)) return extension;
    if (binary) return QStringLiteral("820");
    const qsizetype lineEnd = start.indexOf('\n');
    const QByteArrayView firstLine = lineEnd < 0 ? start : start.first(lineEnd);
    return firstLine.contains('\t') ? QStringLiteral("txt") : QStringLiteral("csv");
}

bool InputFile::Open(const QString& name, QIODevice* in, QString& problem,
                     const Stopping& stopping) {
    if (name == kStdinName) return TakeStdin(in, problem, stopping);
    m_path = name;
    QFile file(name);
    // A file that cannot be read is left to the reader, which says why in its words.
    if (!QFileInfo(name).isFile() || !file.open(QIODevice::ReadOnly)) return true;
    const QString extension = QFileInfo(name).suffix().toLower();
    m_suffix = SuffixOfContent(extension, file.read(kSniffBytes), file.size());
    if (m_suffix == extension || IsStore()) return true;
    if (!m_folder.isValid()) {
        problem = m_folder.errorString();
        return false;
    }
    const QString link = m_folder.filePath(QStringLiteral("input.") + m_suffix);
    if (!QFile::link(QFileInfo(name).absoluteFilePath(), link)) {
        problem = QStringLiteral("cannot make a link to it in %1").arg(m_folder.path());
        return false;
    }
    m_path = link;
    return true;
}

bool InputFile::TakeStdin(QIODevice* in, QString& problem, const Stopping& stopping) {
    if (!in || !in->isReadable()) {
        problem = QStringLiteral("standard input is closed");
        return false;
    }
    const std::optional<QByteArray> read = ReadAll(*in, stopping, problem);
    if (!read) {
        m_stopped = problem.isEmpty();
        return false;
    }
    const QByteArray& bytes = *read;
    if (!m_folder.isValid()) {
        problem = m_folder.errorString();
        return false;
    }
    m_suffix = SuffixOfContent({}, bytes, bytes.size());
    m_path = m_folder.filePath(QStringLiteral("stdin.") + m_suffix);
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.flush()) {
        problem = file.errorString();
        return false;
    }
    return true;
}

}  // namespace kr820::cli
