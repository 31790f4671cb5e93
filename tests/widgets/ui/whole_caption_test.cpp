// SPDX-License-Identifier: MIT
// Windows laid out to their content are still wide enough for their caption, and the real-time
// setup shows its number as written.
#include "ui/whole_caption.h"

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMessageBox>

#include "meter/frm_err.h"
#include "meter/frm_setup_real_time.h"
#include "ui/frm_open_save.h"
#include "ui/frm_scope.h"

namespace kr820::ui {
namespace {

void ExpectCaptionFits(QWidget& window) {
    window.show();
    window.adjustSize();
    EXPECT_GE(window.width(), WidthForCaption(window.windowTitle(), window))
        << window.windowTitle().toStdString();
    window.hide();
}

TEST(WholeCaption, DialogsAreWideEnoughForTheirCaptions) {
    TfrmScope progress;
    progress.setWindowTitle("Data Retriving Progress");
    progress.ShowTransferCounters(132000);
    ExpectCaptionFits(progress);
    EXPECT_GT(progress.width(), 156);

    // A caption set later widens the window too.
    TfrmScope saving;
    saving.ShowProgress(10, "saving.....", true);
    saving.setWindowTitle("A caption far longer than anything the window holds");
    ExpectCaptionFits(saving);

    meter::TfrmErr error;
    ExpectCaptionFits(error);
    meter::TfrmSetupRealTime setup(0);
    ExpectCaptionFits(setup);
    TfrmOpenSave choice("Save File");
    ExpectCaptionFits(choice);
}

TEST(WholeCaption, AShortMessageKeepsItsTitleWhole) {
    QMessageBox box(QMessageBox::Information, "A title of some length for a box",
                    "x is not valid.\n", QMessageBox::Ok);
    KeepCaptionWhole(box);
    ExpectCaptionFits(box);
}

TEST(RealTimeSetupNumber, ShowsTheDefaultAsWrittenWithoutPlaceholders) {
    meter::TfrmSetupRealTime setup(0);
    auto* number = setup.findChild<QLineEdit*>("edtRealTimeNo");
    ASSERT_NE(number, nullptr);
    EXPECT_EQ(number->displayText(), " 2000");
    EXPECT_EQ(setup.Choice().Points.trimmed(), "2000");
}

}  // namespace
}  // namespace kr820::ui
