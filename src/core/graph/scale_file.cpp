// SPDX-License-Identifier: MIT
#include "core/graph/scale_file.h"

#include <QFile>
#include <QTextStream>
#include <cmath>

namespace kr820::core {

namespace {
// The file has always been read through a line buffer of this size.
constexpr qsizetype kMaxLineLength = 80;
constexpr qint64 kMaxScaleFileBytes = 64 * 1024;
}  // namespace

ScaleBounds ReadScaleFile(const QString& path) {
    ScaleBounds bounds;
    if (path.isEmpty()) return bounds;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return bounds;
    // Five short lines are all it holds; what lies beyond the first few kilobytes (of a device
    // that never ends, say) is never read.
    QTextStream in(file.read(kMaxScaleFileBytes));
    in.readLine();  // "[SCALE]", whatever it says
    for (auto& bound : bounds) {
        if (in.atEnd()) break;
        bool isNumber = false;
        const double value = in.readLine().left(kMaxLineLength).trimmed().toDouble(&isNumber);
        // Qt reads "nan" and "inf" as numbers; no axis can use them.
        if (isNumber && std::isfinite(value)) bound = value;
    }
    return bounds;
}

}  // namespace kr820::core
