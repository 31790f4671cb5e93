// SPDX-License-Identifier: MIT
// What the fuzz targets share: a fixed "now", so that a crash replays the same, a scratch file for
// the readers that take a path, and a check that aborts (libFuzzer keeps the input) when a
// decoder's result contradicts itself.
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "core/time/date_time.h"

namespace kr820::fuzz {

inline QDateTime FixedNow() { return QDateTime(QDate(2024, 3, 14), QTime(9, 30, 15)); }
inline core::TDateTime FixedNowTDateTime() { return core::ToTDateTime(FixedNow()); }

// Aborts with the broken promise; libFuzzer reports it as a crash and keeps the input.
#define KR820_FUZZ_CHECK(condition)                                                          \
    do {                                                                                     \
        if (!(condition)) {                                                                  \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__, #condition); \
            std::abort();                                                                    \
        }                                                                                    \
    } while (false)

// One file per fuzzing process, rewritten for every input and removed when the process ends.
class ScratchFile {
public:
    explicit ScratchFile(const char* suffix)
        : m_path(QDir::temp().filePath(QStringLiteral("kr820-fuzz-%1%2")
                                           .arg(QCoreApplication::applicationPid())
                                           .arg(QLatin1String(suffix)))) {}
    ~ScratchFile() { QFile::remove(m_path); }

    const QString& Write(const std::uint8_t* data, std::size_t size) const {
        QFile file(m_path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
            file.write(reinterpret_cast<const char*>(data), qint64(size)) != qint64(size)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(m_path));
            std::abort();
        }
        return m_path;
    }

private:
    QString m_path;
};

inline QByteArrayView BytesOf(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), qsizetype(size)};
}

}  // namespace kr820::fuzz
