// SPDX-License-Identifier: MIT
// The device box in the tool bar: typing changes nothing until Return, and a name that is no
// device is refused without leaving the meter in use.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QTest>

#include "main_window_rig.h"

namespace kr820::app {
namespace {

class DeviceBoxTest : public testing::MainWindowRig {
protected:
    void SetUp() override {
        StartProgram();
        if (HasFatalFailure()) return;
        box = window->ComboBoxDeviceName();
        edit = box->lineEdit();
    }
    void Type(const QString& text) {
        edit->selectAll();
        QTest::keyClicks(edit, text);
    }
    void Return() { QTest::keyClick(edit, Qt::Key_Return); }
    QString InUse() const { return window->Comm1().DeviceName(); }

    QComboBox* box = nullptr;
    QLineEdit* edit = nullptr;
};

TEST_F(DeviceBoxTest, ATypedDeviceIsTriedOnReturnAndANameThatIsNoDeviceIsRefused) {
    ASSERT_EQ(InUse(), device);
    QTest::keyClicks(edit, "x");
    EXPECT_EQ(InUse(), device) << "a typed letter leaves the meter alone";
    EXPECT_TRUE(window->Comm1().Active());
    Type("/dev/nothere");
    EXPECT_EQ(InUse(), device);
    EXPECT_TRUE(prompter.messages.isEmpty());

    Return();
    EXPECT_EQ(prompter.messages, QStringList{"\"/dev/nothere\" is not a serial device."});
    EXPECT_EQ(InUse(), device);
    EXPECT_TRUE(window->Comm1().Active());
    EXPECT_EQ(box->count(), 1) << "not added to the list";
    EXPECT_EQ(box->currentText(), device) << "the box shows the device in use again";

    // A folder is no device either.
    Type(home.path());
    Return();
    EXPECT_EQ(prompter.messages.size(), 2);
    EXPECT_EQ(InUse(), device);

    // A second meter, typed and confirmed with Return, is tried.
    auto other = testing::StartEmulator();
    const QString otherPath = InHome("other");
    std::string error;
    ASSERT_TRUE(other->MakeSymlink(otherPath.toStdString(), &error)) << error;
    Type(otherPath);
    EXPECT_EQ(InUse(), device);
    Return();
    EXPECT_EQ(InUse(), otherPath);
    EXPECT_TRUE(window->Comm1().Active());
    EXPECT_EQ(box->count(), 1);
    EXPECT_EQ(prompter.messages.size(), 2);

    // Chosen from the list: the first meter again.
    emit box->activated(0);
    EXPECT_EQ(InUse(), device);
}

TEST_F(DeviceBoxTest, ACharacterDeviceThatIsNoTerminalIsRefusedAndThePortKept) {
    ASSERT_TRUE(window->State().Connected);
    Type("/dev/null");
    Return();
    EXPECT_EQ(prompter.messages, QStringList{"\"/dev/null\" is not a serial device."});
    EXPECT_EQ(InUse(), device);
    EXPECT_TRUE(window->Comm1().Active());
    EXPECT_EQ(box->currentText(), device);
    EXPECT_EQ(window->StatusPanelText(0), device);
}

}  // namespace
}  // namespace kr820::app
