// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <array>
#include <optional>
#include <variant>

#include "core/files/file_outcome.h"

namespace kr820::core {

// The bounds a saved scale file holds, in file order: T1 minimum, T1 maximum, T2 minimum, T2
// maximum. A bound whose line is missing or is not a number is empty: the caller's stays.
using ScaleBounds = std::array<std::optional<double>, 4>;

// All four empty when the file is missing or cannot be read.
ScaleBounds ReadScaleFile(const QString& path);

// The Y axis dialog's four boxes as the user left them.
struct ScaleBoxTexts {
    QString T1Min, T1Max, T2Min, T2Max;
};

// The four boxes read as whole numbers. Minimum and maximum are not compared: they are applied
// as entered.
struct ScaleBoxValues {
    int T1Min = 0, T1Max = 0, T2Min = 0, T2Max = 0;
};

// The values, or the message for the boxes that are not whole numbers: the boxes are read T2
// MAX, T2 MIN, T1 MAX, T1 MIN and the last failing one is named ("abc is invalid.").
std::variant<ScaleBoxValues, QString> ReadScaleBoxes(const ScaleBoxTexts& boxes);

// What keeps the Y axis dialog open: the box to mend, from 0 in the dialog's order (T1 MIN, T1
// MAX, T2 MIN, T2 MAX), and what to tell the user. A box that is not a whole number comes first
// (told as ReadScaleBoxes tells it); then a minimum above its maximum, which the chart would
// otherwise swap without a word.
struct ScaleBoxProblem {
    int Box = 0;
    QString Message;
};
std::optional<ScaleBoxProblem> CheckScaleBoxes(const ScaleBoxTexts& boxes);

// "<folder>/ini/", where the scale file lives.
QString ScaleFileFolder(const QString& programFolder);

// Writes the scale file in the folder above, making the folder when it is missing: "[SCALE]"
// then the four numbers as they were understood (not as typed: leading zeros or blanks could
// carry a line past what reading takes), T1 minimum, T1 maximum, T2 minimum, T2 maximum, a line
// each. An earlier file stays whole unless the new one is written completely.
WriteOutcome WriteScaleFile(const QString& programFolder, const ScaleBoxValues& values);

}  // namespace kr820::core
