// SPDX-License-Identifier: MIT
// Setup Meter against the emulated meter: the setup read into the dialog, SAVE's frames on the
// wire byte for byte, the read's and the save's failures with their messages, and ERASE.
#include "meter/meter_setup_command.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "core/protocol/command_frame.h"
#include "core/setup/meter_setup.h"
#include "fast_clock.h"
#include "main_window_rig.h"
#include "meter/frm_setup.h"
#include "meter/logger_download.h"

namespace kr820::meter {
namespace {

class MeterSetupTest : public testing::MainWindowRig {
protected:
    void SetUp() override { StartProgram(clock); }

    // Opens Setup Meter and runs `inDialog` on the dialog, as the user would, then closes it.
    void InSetupDialog(const std::function<void(TfrmSetup&)>& inDialog) {
        prompter.onDialog = [&](QDialog& dialog) {
            if (auto* setup = qobject_cast<TfrmSetup*>(&dialog)) {
                dialogShown = true;
                inDialog(*setup);
            }
            return int(QDialog::Rejected);
        };
        window->btnSetupClick();
    }
    static void Press(TfrmSetup& dialog, const char* button) {
        dialog.findChild<QPushButton*>(button)->click();
    }
    // The frames since the setup was read, "O" excluded.
    std::vector<QByteArray> FramesAfterRead() const {
        std::vector<QByteArray> frames;
        bool read = false;
        for (const std::string& frame : meter->ReceivedFrames()) {
            const QByteArray bytes = QByteArray::fromStdString(frame);
            if (bytes == core::FrameCommand("O")) {
                read = true;
                frames.clear();
                continue;
            }
            if (read && bytes != core::FrameCommand("A")) frames.push_back(bytes);
        }
        return frames;
    }

    testing::FastClock clock{10};
    bool dialogShown = false;
};

TEST_F(MeterSetupTest, ASaveWritesBackTheMetersRecordByteForByteThenClockAndReset) {
    std::string record = meter->SetupRecord();
    record[33] = 13;  // two hours: shown as itself, and saved back as 13
    ASSERT_TRUE(meter->SetSetupRecord(record));
    const QByteArray before = QByteArray::fromStdString(meter->SetupRecord());

    InSetupDialog([&](TfrmSetup& dialog) {
        EXPECT_EQ(dialog.findChild<QComboBox*>("edtRECInterval")->currentText(), "02:00:00");
        Press(dialog, "btnSave");
    });
    ASSERT_TRUE(dialogShown);
    EXPECT_EQ(prompter.messages, QStringList{kSetupSavedMessage});

    const std::vector<QByteArray> frames = FramesAfterRead();
    ASSERT_EQ(frames.size(), 52u);
    for (int address = 0x40; address <= 0x71; ++address) {
        const QByteArray& frame = frames[static_cast<size_t>(address - 0x40)];
        const int value = static_cast<unsigned char>(before[address - 0x3F]);
        EXPECT_EQ(frame.mid(3, 6).trimmed().toInt(), address);
        EXPECT_EQ(frame.mid(10, 3).trimmed().toInt(), value) << address;
    }
    EXPECT_EQ(frames[50].mid(1, 4), "WRTC");
    EXPECT_EQ(frames[51], core::FrameCommand("ROPT"));
    const QByteArray after = QByteArray::fromStdString(meter->SetupRecord());
    EXPECT_EQ(after.mid(1, 50).toHex(' '), before.mid(1, 50).toHex(' '));
    EXPECT_EQ(static_cast<int>(after[33]), 13);
    EXPECT_TRUE(window->MainTimer().isActive()) << "polling taken up again";
}

TEST_F(MeterSetupTest, EditsReachTheMeterAndAreShownAtTheNextRead) {
    InSetupDialog([&](TfrmSetup& dialog) {
        dialog.findChild<QComboBox*>("edtRECInterval")->setCurrentIndex(6);  // 00:01:00
        dialog.findChild<QLineEdit*>("edtAlarmUpper")->setText("150.5");
        dialog.findChild<QRadioButton*>("RadioJ")->setChecked(true);
        Press(dialog, "btnSave");
    });
    EXPECT_EQ(prompter.messages, QStringList{kSetupSavedMessage});
    const QByteArray record = QByteArray::fromStdString(meter->SetupRecord());
    EXPECT_EQ(static_cast<int>(record[33]), 6);
    EXPECT_EQ(record.mid(36, 4), " 5E1") << "1505 tenths";
    EXPECT_EQ(static_cast<int>(record[47]), 2);

    InSetupDialog([&](TfrmSetup& dialog) {
        EXPECT_EQ(dialog.findChild<QComboBox*>("edtRECInterval")->currentText(), "00:01:00");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("edtAlarmUpper")->text(), "150.5");
        EXPECT_TRUE(dialog.findChild<QRadioButton*>("RadioJ")->isChecked());
    });
}

TEST_F(MeterSetupTest, ARecordOfTheWrongLengthFailsTheReadAndPollingComesBack) {
    emulator::SetupFaults faults;
    faults.longRecordReply = true;
    meter->SetSetupFaults(faults);
    InSetupDialog([](TfrmSetup&) {});
    EXPECT_FALSE(dialogShown);
    EXPECT_EQ(prompter.messages, QStringList{kLoadFailedMessage});
    EXPECT_TRUE(window->MainTimer().isActive());
}

TEST_F(MeterSetupTest, AWriteTheMeterRefusesEndsTheSaveBeforeClockAndReset) {
    emulator::SetupFaults faults;
    faults.refuseWritesFrom = 0x55;
    meter->SetSetupFaults(faults);
    InSetupDialog([&](TfrmSetup& dialog) { Press(dialog, "btnSave"); });
    EXPECT_EQ(prompter.messages, QStringList{kSaveFailedMessage});
    const std::vector<QByteArray> frames = FramesAfterRead();
    // 0x40..0x54 once, then three attempts at 0x55, each followed by the abort frame.
    ASSERT_EQ(frames.size(), 21u + 6u);
    for (int attempt = 0; attempt < 3; ++attempt) {
        EXPECT_EQ(frames[21 + 2 * attempt].mid(3, 6), "    85");
        EXPECT_EQ(frames[22 + 2 * attempt], QByteArray::fromHex("02aaaa03"));
    }
}

TEST_F(MeterSetupTest, EraseAsksFirstAndEmptiesTheMemory) {
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    InSetupDialog([&](TfrmSetup& dialog) { Press(dialog, "btnErase"); });
    EXPECT_EQ(prompter.questions, QStringList{kEraseQuestion});
    EXPECT_TRUE(FramesAfterRead().empty()) << "No sends nothing";

    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    InSetupDialog([&](TfrmSetup& dialog) {
        Press(dialog, "btnErase");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("MemRecords")->text(), "0");
        EXPECT_EQ(dialog.findChild<QLineEdit*>("MemLeft")->text(), "32000");
    });
    EXPECT_EQ(prompter.messages, QStringList{kErasedMessage});

    prompter.messages.clear();
    prompter.onDialog = {};
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.messages, QStringList{kNothingRecordedMessage});
}

}  // namespace
}  // namespace kr820::meter
