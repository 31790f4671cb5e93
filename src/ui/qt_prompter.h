// SPDX-License-Identifier: MIT
#pragma once

#include "ui/prompter.h"

namespace kr820::ui {

// The prompter of the running program: real message boxes and dialogs.
class QtPrompter final : public Prompter {
public:
    void Message(QWidget* parent, const QString& text) override;
    Answer Confirm(QWidget* parent, const QString& text, Buttons buttons) override;
    QString OpenFileName(QWidget* parent, const QString& folder, const QString& filter,
                         QString* selectedFilter) override;
    QString SaveFileName(QWidget* parent, const QString& folder, const QString& filter,
                         const QString& defaultSuffix, QString* selectedFilter) override;
    QString FolderName(QWidget* parent, const QString& folder) override;
    int Exec(QDialog& dialog) override;
    bool PrintDialog(QWidget* parent, QPrinter& printer) override;
    bool PageSetupDialog(QWidget* parent, QPrinter& printer) override;
    void OpenDocument(const QString& path) override;
};

}  // namespace kr820::ui
