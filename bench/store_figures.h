// SPDX-License-Identifier: MIT
#pragma once

#include <QFile>
#include <algorithm>
#include <chrono>
#include <vector>

namespace kr820::bench {

inline long StatusKiB(const char* field) {
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return -1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith(field))
            return line.mid(qsizetype(strlen(field))).trimmed().split(' ')[0].toLong();
    }
    return -1;
}

// The process's resident memory now and at its peak, in KiB.
inline long RssKiB() { return StatusKiB("VmRSS:"); }
inline long PeakRssKiB() { return StatusKiB("VmHWM:"); }
// Starts the peak over from the present.
inline void ResetPeakRss() {
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly)) clear.write("5");
}

inline double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Microseconds that `work` takes.
template <typename Work>
double TimeUs(Work&& work) {
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
        .count();
}

}  // namespace kr820::bench
