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

std::optional<ScaleBoxProblem> CheckScaleBoxes(const ScaleBoxTexts& boxes) {
    const auto reading = ReadScaleBoxes(boxes);
    if (const auto* message = std::get_if<QString>(&reading)) {
        // The box named is the first in the dialog that is not a whole number.
        const QString* texts[] = {&boxes.T1Min, &boxes.T1Max, &boxes.T2Min, &boxes.T2Max};
        for (int box = 0; box < 4; ++box) {
            bool isInteger = false;
            texts[box]->trimmed().toInt(&isInteger, 10);
            if (!isInteger) return ScaleBoxProblem{box, *message};
        }
    }
    const auto& values = std::get<ScaleBoxValues>(reading);
    const auto above = [](const char* channel, int min, int max) {
        return QStringLiteral("%1 MIN %2 is above %1 MAX %3.")
            .arg(QLatin1String(channel))
            .arg(min)
            .arg(max);
    };
    if (values.T1Min > values.T1Max)
        return ScaleBoxProblem{0, above("T1", values.T1Min, values.T1Max)};
    if (values.T2Min > values.T2Max)
        return ScaleBoxProblem{2, above("T2", values.T2Min, values.T2Max)};
    return std::nullopt;
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
