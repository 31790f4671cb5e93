// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>
#include <functional>

#include "ui/prompter.h"

namespace kr820::testing {

// Answers every question without a screen and remembers what was asked.
class FakePrompter : public ui::Prompter {
public:
    void Message(QWidget*, const QString& text) override { messages << text; }
    Answer Confirm(QWidget*, const QString& text, Buttons) override {
        questions << text;
        return confirmAnswers.isEmpty() ? confirmAnswer : confirmAnswers.takeFirst();
    }
    QString OpenFileName(QWidget*, const QString& folder, const QString&, QString*) override {
        folders << folder;
        return openFileName;
    }
    QString SaveFileName(QWidget*, const QString& folder, const QString&, const QString&,
                         QString* selectedFilter) override {
        folders << folder;
        if (selectedFilter && !saveFilter.isEmpty()) *selectedFilter = saveFilter;
        return saveFileName;
    }
    QString FolderName(QWidget*, const QString& folder) override {
        folders << folder;
        return folderName;
    }
    int Exec(QDialog& dialog) override {
        ++dialogsShown;
        return onDialog ? onDialog(dialog) : QDialog::Rejected;
    }
    // The print dialogs: the callback may set the printer up (a PDF file, a page size) as the
    // user's choice would; without one the user cancels.
    bool PrintDialog(QWidget*, QPrinter& printer) override {
        ++printDialogsShown;
        return onPrintDialog && onPrintDialog(printer);
    }
    bool PageSetupDialog(QWidget*, QPrinter&) override {
        ++pageSetupsShown;
        return pageSetupAnswer;
    }
    void OpenDocument(const QString& path) override { documents << path; }

    QStringList messages, questions, documents;
    QStringList folders;  // where each file dialog started
    Answer confirmAnswer = Answer::Cancel;
    QList<Answer> confirmAnswers;  // answered first, in order; then confirmAnswer
    QString openFileName, saveFileName, folderName;
    QString saveFilter;  // the type picked in the save dialog; empty keeps the program's default
    std::function<int(QDialog&)> onDialog;
    int dialogsShown = 0;
    std::function<bool(QPrinter&)> onPrintDialog;
    int printDialogsShown = 0;
    int pageSetupsShown = 0;
    bool pageSetupAnswer = false;
};

}  // namespace kr820::testing
