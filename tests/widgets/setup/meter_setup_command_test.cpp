// SPDX-License-Identifier: MIT
// Setup Meter against the emulated meter: the setup read into the dialog, SAVE's frames on the
// wire byte for byte, the read's and the save's failures with their messages, and ERASE.
#include "meter/meter_setup_command.h"

#include <gtest/gtest.h>

#include <QCheckBox>
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

// The fast clock, and the user waiting in the dialog.
class WaitingClock : public testing::FastClock {
public:
    using FastClock::FastClock;
    TimePoint Now() const override { return FastClock::Now() + m_waited; }
    void Wait(std::chrono::seconds span) { m_waited += span; }

private:
    std::chrono::seconds m_waited{0};
};

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

    // The clocks the meter was set to since the setup was read.
    std::vector<QDateTime> ClocksSent() const {
        std::vector<QDateTime> clocks;
        for (const QByteArray& frame : FramesAfterRead())
            if (frame.mid(1, 4) == "WRTC")
                clocks.push_back(QDateTime::fromString(QString::fromLatin1("20" + frame.mid(5, 12)),
                                                       "yyyyMMddHHmmss"));
        return clocks;
    }
    static void Type(TfrmSetup& dialog, const char* field, const char* text) {
        dialog.findChild<QLineEdit*>(field)->setText(QString::fromLatin1(text));
    }

    WaitingClock clock{10};
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

TEST_F(MeterSetupTest, LimitsBeyondTheMetersRangeAreRefusedAndNothingIsSent) {
    struct Case {
        const char* field;
        const char* typed;
        const char* says;
    };
    for (const Case& c : std::initializer_list<Case>{
             {"edtAlarmUpper", "3276.8",
              "Alarm Upper: \"3276.8\" is outside what the meter holds, -3276.8 to 3276.7."},
             {"edtAlarmLower", "-3276.9",
              "Alarm Lower: \"-3276.9\" is outside what the meter holds, -3276.8 to 3276.7."},
             {"edtLowLimit", "2410",
              "Low Limit: \"2410\" is outside what the meter holds, -220 to 2400."},
             {"edtLowLimit", "-230",
              "Low Limit: \"-230\" is outside what the meter holds, -220 to 2400."},
         }) {
        SCOPED_TRACE(c.typed);
        prompter.messages.clear();
        InSetupDialog([&](TfrmSetup& dialog) {
            dialog.show();
            Type(dialog, c.field, c.typed);
            Press(dialog, "btnSave");
            EXPECT_EQ(dialog.findChild<QLineEdit*>(c.field)->text(), c.typed);
            EXPECT_EQ(dialog.focusWidget(), dialog.findChild<QLineEdit*>(c.field));
        });
        EXPECT_EQ(prompter.messages, QStringList{c.says});
        EXPECT_TRUE(FramesAfterRead().empty());
    }
}

TEST_F(MeterSetupTest, LimitsAtTheEndsOfTheMetersRangeAreWritten) {
    InSetupDialog([&](TfrmSetup& dialog) {
        Type(dialog, "edtAlarmUpper", "3276.7");
        Type(dialog, "edtAlarmLower", "-3276.8");
        Type(dialog, "edtLowLimit", "-220");
        Press(dialog, "btnSave");
    });
    EXPECT_EQ(prompter.messages, QStringList{kSetupSavedMessage});
    QByteArray record = QByteArray::fromStdString(meter->SetupRecord());
    EXPECT_EQ(record.mid(36, 4), "7FFF");
    EXPECT_EQ(record.mid(41, 4), "8000");
    EXPECT_EQ(record.mid(15, 4), "FF24");

    InSetupDialog([&](TfrmSetup& dialog) {
        Type(dialog, "edtLowLimit", "2400");
        Press(dialog, "btnSave");
    });
    record = QByteArray::fromStdString(meter->SetupRecord());
    EXPECT_EQ(record.mid(15, 4), " 960");
}

// A second save must not set the meter back to the clock the dialog was filled with.
TEST_F(MeterSetupTest, TheClockTheUserSetRunsOnBetweenSaves) {
    InSetupDialog([&](TfrmSetup& dialog) {
        dialog.findChild<QCheckBox*>("chkPCTime")->setChecked(false);
        Press(dialog, "btnSave");
        clock.Wait(std::chrono::seconds(35));
        Press(dialog, "btnSave");
    });
    EXPECT_EQ(prompter.messages, QStringList({kSetupSavedMessage, kSetupSavedMessage}));
    const std::vector<QDateTime> clocks = ClocksSent();
    ASSERT_EQ(clocks.size(), 2u);
    EXPECT_GE(clocks[0].secsTo(clocks[1]), 35);
}

TEST_F(MeterSetupTest, AfterASaveTheDialogShowsTheMeterAsItNowIs) {
    std::string record = meter->SetupRecord();
    record.replace(61, 6, std::string("\x20\x01\x01\x00\x00\x00", 6));  // 2020-01-01 00:00:00
    ASSERT_TRUE(meter->SetSetupRecord(record));
    InSetupDialog([&](TfrmSetup& dialog) {
        EXPECT_TRUE(dialog.ClockOffset().endsWith("behind this computer"));
        dialog.findChild<QComboBox*>("edtRECInterval")->setCurrentIndex(6);
        EXPECT_FALSE(dialog.ChangesText().isEmpty());
        Press(dialog, "btnSave");
        EXPECT_EQ(dialog.ClockOffset(), "Meter clock agrees with this computer");
        EXPECT_EQ(dialog.ChangesText(), "");
    });

    // Broken off at 0x55: the graph inches (0x4D) are written, the record interval (0x60) not.
    emulator::SetupFaults faults;
    faults.refuseWritesFrom = 0x55;
    meter->SetSetupFaults(faults);
    InSetupDialog([&](TfrmSetup& dialog) {
        auto* interval = dialog.findChild<QComboBox*>("edtRECInterval");
        const QString was = interval->currentText();
        interval->setCurrentIndex(7);
        dialog.findChild<QComboBox*>("cmbGraphINCH")->setCurrentIndex(8);
        Press(dialog, "btnSave");
        EXPECT_EQ(dialog.ChangesText(),
                  "Changes to save:\nRecord interval: " + was + " → 00:02:00");
    });
}

}  // namespace
}  // namespace kr820::meter
