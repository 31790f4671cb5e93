// SPDX-License-Identifier: MIT
#pragma once

#include <QIcon>

namespace kr820::app {

// The tool bar's pictures, drawn by the program so that they look the same on every desktop.
enum class ToolIcon { Open, Save, Print, DataLogger, Setup, Run, Stop, Help, Alarm };

QIcon MakeToolIcon(ToolIcon which);

}  // namespace kr820::app
