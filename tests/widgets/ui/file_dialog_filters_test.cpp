// SPDX-License-Identifier: MIT
// File dialogs: each type described once, and a name saved without an extension gets the
// extension of the type the user picked, not the one the dialog opened with.
#include "ui/file_dialog_filters.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>

namespace kr820::ui {
namespace {

const QString kGraph = QStringLiteral("Graph file(*.ghf,only for KR820) (*.GHF *.ghf)");
const QString kText = QStringLiteral("TXT file(*.txt,data seperated by tab) (*.TXT *.txt)");

TEST(FileDialogFilters, TheSuffixIsTheFirstPatternsAsWritten) {
    EXPECT_EQ(SuffixOfNameFilter(kGraph), "GHF");
    EXPECT_EQ(SuffixOfNameFilter(kText), "TXT");
    EXPECT_EQ(SuffixOfNameFilter("Data Sets Collection (*.820) (*.820)"), "820");
    EXPECT_EQ(SuffixOfNameFilter("All files (*)"), "");
    EXPECT_EQ(SuffixOfNameFilter("No patterns"), "");
}

TEST(FileDialogFilters, ASaveDialogFollowsThePickedTypeAndShowsEachDescriptionOnce) {
    QFileDialog dialog;
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setNameFilters({kGraph, kText});
    PrepareFileDialog(dialog);
    dialog.setDefaultSuffix("GHF");

    auto* types = dialog.findChild<QComboBox*>("fileTypeCombo");
    ASSERT_NE(types, nullptr);
    EXPECT_EQ(types->itemText(0), "Graph file(*.ghf,only for KR820)");
    EXPECT_EQ(types->itemText(1), "TXT file(*.txt,data seperated by tab)");

    const auto pick = [types](int index) {  // as the user's pick
        types->setCurrentIndex(index);
        emit types->activated(index);
        emit types->textActivated(types->itemText(index));
    };
    pick(1);
    EXPECT_EQ(dialog.defaultSuffix(), "TXT");
    pick(0);
    EXPECT_EQ(dialog.defaultSuffix(), "GHF");
}

}  // namespace
}  // namespace kr820::ui
