// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;
class QDialog;
class QPrinter;

namespace kr820::ui {

// Every modal question of the program goes through here: message boxes, confirmations, file
// dialogs, the program's own modal dialogs and the system's document viewer. The program uses
// the Qt implementation; tests answer through their own, so no test can hang on a dialog.
class Prompter {
public:
    enum class Answer { Ok, Yes, No, Cancel };
    // YesNoNoFirst: No is the default, for questions whose Yes cannot be undone.
    enum class Buttons { YesNo, YesNoCancel, YesNoNoFirst };

    virtual ~Prompter() = default;

    // A message box with an OK button.
    virtual void Message(QWidget* parent, const QString& text) = 0;
    virtual Answer Confirm(QWidget* parent, const QString& text, Buttons buttons) = 0;

    // Empty when the user cancels.
    virtual QString OpenFileName(QWidget* parent, const QString& folder, const QString& filter,
                                 QString* selectedFilter) = 0;
    virtual QString SaveFileName(QWidget* parent, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix, QString* selectedFilter) = 0;
    // A folder, starting at `folder`.
    virtual QString FolderName(QWidget* parent, const QString& folder) = 0;

    // Runs one of the program's own dialogs modally; returns QDialog::Accepted or Rejected.
    virtual int Exec(QDialog& dialog) = 0;

    // The platform's print dialog and page set-up dialog on `printer`, which keeps what the user
    // chose; true when the user confirmed.
    virtual bool PrintDialog(QWidget* parent, QPrinter& printer) = 0;
    virtual bool PageSetupDialog(QWidget* parent, QPrinter& printer) = 0;

    // Opens a file with the system's default viewer. Failure is silent.
    virtual void OpenDocument(const QString& path) = 0;
};

}  // namespace kr820::ui
