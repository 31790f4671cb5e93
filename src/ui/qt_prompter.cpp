// SPDX-License-Identifier: MIT
#include "ui/qt_prompter.h"

#include <QApplication>
#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QUrl>

#include "ui/file_dialog_filters.h"
#include "ui/whole_caption.h"

namespace kr820::ui {

void QtPrompter::Message(QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Information, QApplication::applicationName(), text,
                    QMessageBox::Ok, parent);
    KeepCaptionWhole(box);
    box.exec();
}

Prompter::Answer QtPrompter::Confirm(QWidget* parent, const QString& text, Buttons buttons) {
    QMessageBox::StandardButtons shown = QMessageBox::Yes | QMessageBox::No;
    if (buttons == Buttons::YesNoCancel) shown |= QMessageBox::Cancel;
    QMessageBox box(QMessageBox::Question, QApplication::applicationName(), text, shown, parent);
    if (buttons == Buttons::YesNoNoFirst) box.setDefaultButton(QMessageBox::No);
    KeepCaptionWhole(box);
    switch (box.exec()) {
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
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
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    if (selectedFilter) *selectedFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().constFirst();
}

int QtPrompter::Exec(QDialog& dialog) { return dialog.exec(); }

bool QtPrompter::PrintDialog(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    // One job prints the whole graph or the whole list; there is nothing to choose a part of.
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
    dialog.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
    return dialog.exec() == QDialog::Accepted;
}

bool QtPrompter::PageSetupDialog(QWidget* parent, QPrinter& printer) {
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtPrompter::OpenDocument(const QString& path) {
    QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

}  // namespace kr820::ui
