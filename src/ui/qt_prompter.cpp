// SPDX-License-Identifier: MIT
#include "ui/qt_prompter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPointer>
#include <QPrintDialog>
#include <QPushButton>
#include <QUrl>

#include "ui/file_dialog_filters.h"
#include "ui/whole_caption.h"

namespace kr820::ui {
namespace {

// The LCD window stays on top of the program's windows; a question or a dialog it covered
// would be answered blind (or not found at all under a large scale factor). Each one shown
// here is on top too, and being the newest, above the LCD.
// Once it is answered, the keyboard goes back to the window that had it: a window manager left
// to choose hands it to the LCD window, which stays on top but takes no keys.
int ExecOnTop(QDialog& dialog) {
    const QPointer<QWidget> before = QApplication::activeWindow();
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    const int result = dialog.exec();
    if (before && before->isVisible()) before->activateWindow();
    return result;
}

}  // namespace

void QtPrompter::Message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), text,
                    QMessageBox::Ok, parent);
    KeepCaptionWhole(box);
    ExecOnTop(box);
}

Prompter::Answer QtPrompter::Confirm(QWidget* parent, const QString& text, Buttons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel) shown |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, shown, parent);
    if (buttons == Buttons::YesNoNoFirst) box.setDefaultButton(QMessageBox::No);
    if (buttons == Buttons::YesNo) {
        // Left without an answer (Escape, the close button), a Yes/No question is not answered:
        // the box would take No for it, and a No may throw data away. A hidden Cancel is what
        // leaving chooses.
        QPushButton* leave = box.addButton(QMessageBox::Cancel);
        leave->hide();
        box.setEscapeButton(leave);
    }
    KeepCaptionWhole(box);
    switch (ExecOnTop(box)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
    }
}

QString QtPrompter::OpenFileName(QWidget* parent, const QString& folder, const QString& filter,
                                 QString* selectedFilter) {
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    PrepareFileDialog(dialog);
    if (selectedFilter && !selectedFilter->isEmpty()) dialog.selectNameFilter(*selectedFilter);
    if (ExecOnTop(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (selectedFilter) *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompter::SaveFileName(QWidget* parent, const QString& folder, const QString& filter,
                                 const QString& defaultSuffix, QString* selectedFilter) {
    QFileDialog dialog(parent, QString(), folder, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    PrepareFileDialog(dialog);
    dialog.setDefaultSuffix(defaultSuffix);
    if (selectedFilter && !selectedFilter->isEmpty()) {
        dialog.selectNameFilter(*selectedFilter);
        dialog.setDefaultSuffix(SuffixOfNameFilter(*selectedFilter));
    }
    if (ExecOnTop(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (selectedFilter) *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

QString QtPrompter::FolderName(QWidget* parent, const QString& folder) {
    QFileDialog dialog(parent, QString(), folder);
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly, true);
    if (ExecOnTop(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

int QtPrompter::Exec(QDialog& dialog) { return ExecOnTop(dialog); }

bool QtPrompter::PrintDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    // One job prints the whole graph or the whole list; there is nothing to choose a part of.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return ExecOnTop(dialog) == QDialog::Accepted;
}

bool QtPrompter::PageSetupDialog(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return ExecOnTop(dialog) == QDialog::Accepted;
}

void QtPrompter::OpenDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace kr820::ui
