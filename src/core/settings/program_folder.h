// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace kr820::core {

// The folder that holds "ini" and "temp": $KR820_HOME when set, else the per-user data folder.
// Created when missing.
QString ProgramFolder();

// The program's settings. With $KR820_HOME set they live in that folder too, so that tests and
// demonstrations never touch the user's own.
std::unique_ptr<QSettings> OpenProgramSettings();

}  // namespace kr820::core
