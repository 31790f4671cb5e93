// SPDX-License-Identifier: MIT
#pragma once

#include <malloc.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

namespace kr820::bench {

// The process's resident memory, in KiB.
inline long ResidentKiB() {
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly)) return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}

// Bytes the heap holds for live allocations: unlike RSS, it falls when memory is freed.
inline long HeapInUseKiB() { return long(mallinfo2().uordblks / 1024); }

// The process's open file descriptors.
inline int OpenDescriptors() {
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::NoDotAndDotDot | QDir::AllEntries).size());
}

}  // namespace kr820::bench
