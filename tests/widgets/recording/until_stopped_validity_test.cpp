// SPDX-License-Identifier: MIT
// The desktop's store of a recording until stopped keeps a channel as the reading shows it: a
// channel whose invalid byte has any bit set has no value there, as the LCD shows dashes.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>

#include "meter/frm_setup_real_time.h"
#include "store/store_reader.h"
#include "widgets/realtime/real_time_rig.h"

namespace kr820::testing {
namespace {

class UntilStoppedValidityTest : public RealTimeRig {
protected:
    QString Folder() const { return InHome(QStringLiteral("stores")); }
};

TEST_F(UntilStoppedValidityTest, AChannelFlaggedByAnyBitIsKeptWithoutAValue) {
    StartTicking();
    clockMs = 1'700'000'000'000;
    prompter.onDialog = [this](QDialog& dialog) {
        auto* setup = qobject_cast<meter::TfrmSetupRealTime*>(&dialog);
        if (!setup) return int(QDialog::Rejected);
        setup->findChild<QCheckBox*>("chkUntilStopped")->setChecked(true);
        setup->findChild<QLineEdit*>("edtStoreFolder")->setText(Folder());
        setup->findChild<QComboBox*>("txtRate")->setCurrentIndex(0);
        return int(QDialog::Accepted);
    };
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    // T1's bit 2 and T2's bit 7: beyond the bits the fixed-length recording looks at.
    Live(25.3f, 30.0f, 0, 0x8004);
    Tick();
    Live(25.3f, 30.0f);
    Tick();
    window->btnStopClick();

    const QStringList stores = QDir(Folder()).entryList({QStringLiteral("*.kr8db")}, QDir::Files);
    ASSERT_EQ(stores.size(), 1);
    QString error;
    auto reader = store::StoreReader::Open(QDir(Folder()).filePath(stores.front()), &error);
    ASSERT_TRUE(reader) << error.toStdString();
    ASSERT_EQ(reader->Count(), 2);
    EXPECT_FALSE(reader->At(0)->T1Valid);
    EXPECT_FALSE(reader->At(0)->T2Valid);
    EXPECT_TRUE(reader->At(1)->T1Valid);
    EXPECT_FLOAT_EQ(reader->At(1)->T1, 25.3f);
}

}  // namespace
}  // namespace kr820::testing
