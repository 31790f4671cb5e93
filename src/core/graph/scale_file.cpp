// SPDX-License-Identifier: MIT
#include "core/graph/scale_file.h"

#include <QDir>
#include <QFile>
#include <QTextStream>
#include <cmath>
#include <utility>

#include "core/files/save_file.h"

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

std::variant<ScaleBoxValues, QString> ReadScaleBoxes(const ScaleBoxTexts& boxes) {
    ScaleBoxValues values;
    std::optional<QString> lastFailing;
    // Read in this order; a later failure replaces an earlier one in the message.
    const std::pair<const QString*, int*> order[] = {
        {&boxes.T2Max, &values.T2Max},
        {&boxes.T2Min, &values.T2Min},
        {&boxes.T1Max, &values.T1Max},
        {&boxes.T1Min, &values.T1Min},
    };
    for (const auto& [text, value] : order) {
        bool isInteger = false;
        *value = text->trimmed().toInt(&isInteger, 10);
        if (!isInteger) lastFailing = *text;
    }
    if (lastFailing) return *lastFailing + QStringLiteral(" is invalid.");
    return values;
}

QString ScaleFileFolder(const QString& programFolder) {
    return QDir(programFolder).filePath(QStringLiteral("ini")) + QLatin1Char('/');
}

WriteOutcome WriteScaleFile(const QString& programFolder, const ScaleBoxValues& values) {
    const QString folder = ScaleFileFolder(programFolder);
    if (!QDir().mkpath(folder)) return {WriteStatus::FolderNotCreated, folder};
    QByteArray text = "[SCALE]\n";
    for (const int bound : {values.T1Min, values.T1Max, values.T2Min, values.T2Max})
        text += QByteArray::number(bound) + '\n';
    return WriteFileAtomically(QDir(folder).filePath(QStringLiteral("KR820.ini")), text);
}

}  // namespace kr820::core
