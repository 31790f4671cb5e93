// SPDX-License-Identifier: MIT
// Real-Time Setup on its own: the recording folder it offers is one a technician finds, with a
// Browse button; the period reads as its HH:MM:SS label says, the rate as MM:SS.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "core/settings/program_folder.h"
#include "fake_prompter.h"
#include "meter/frm_setup_real_time.h"

namespace kr820::meter {
namespace {

TEST(RealTimeSetupDialog, RecordingsGoToAVisibleFolderChosenWithBrowse) {
    const QByteArray home = qgetenv("KR820_HOME");
    qunsetenv("KR820_HOME");
    const QString folder = core::DefaultRecordingFolder();
    if (!home.isNull()) qputenv("KR820_HOME", home);
    EXPECT_EQ(folder, QDir::home().filePath("KR820 recordings"));
    EXPECT_FALSE(folder.contains("/.")) << "no hidden folder on the way";

    testing::FakePrompter prompter;
    TfrmSetupRealTime dialog(1, nullptr, &prompter, folder);
    auto* browse = dialog.findChild<QPushButton*>("btnBrowseFolder");
    ASSERT_NE(browse, nullptr);
    EXPECT_FALSE(browse->isEnabled()) << "only for a recording until stopped";
    EXPECT_EQ(dialog.findChild<QLineEdit*>("edtStoreFolder")->text(), folder);
    dialog.findChild<QCheckBox*>("chkUntilStopped")->setChecked(true);
    ASSERT_TRUE(browse->isEnabled());
    prompter.folderName = QStringLiteral("/srv/oven");
    browse->click();
    EXPECT_EQ(prompter.folders, QStringList{folder}) << "the dialog starts at the folder shown";
    EXPECT_EQ(dialog.Choice().Folder, "/srv/oven");
}

TEST(RealTimeSetupDialog, ThePeriodIsPaddedAndTheRateReadsAsMinutesAndSeconds) {
    TfrmSetupRealTime dialog(1);  // 00:02, 2000 points
    EXPECT_EQ(dialog.findChild<QLineEdit*>("edtPeriod")->text(), "01:06:40");
    QStringList labels;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) labels << label->text();
    EXPECT_TRUE(labels.contains("MM:SS"));
    EXPECT_FALSE(labels.contains("second")) << "00:02 is two seconds, 01:00 a minute";
}

}  // namespace
}  // namespace kr820::meter
