// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

class QSettings;

namespace kr820::core {

// The folder that holds "ini" and "temp": $KR820_HOME when set, else the per-user data folder.
// Created when missing.
QString ProgramFolder();

// Where recordings until stopped go unless the user chooses another folder: one a technician
// finds, "KR820 recordings" in the home folder; with $KR820_HOME set, "recordings" in it.
QString DefaultRecordingFolder();

// Where Open and Save As start: the folder last used in one of them, else the user's documents
// folder (the home folder where there is none). Remembered in the program's settings.
QString FileDialogFolder();
void RememberFileDialogFolder(const QString& chosenPath);

// The program's settings. With $KR820_HOME set they live in that folder too, so that tests and
// demonstrations never touch the user's own.
std::unique_ptr<QSettings> OpenProgramSettings();

}  // namespace kr820::core
