// SPDX-License-Identifier: MIT
// The Alarms dialog refuses limits that can never work, as Y Axis refuses MIN above MAX; alarms
// are notified at normal urgency unless the user asks for critical ones, and the banner's
// Acknowledge stays where notifications do not gather.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDBusMessage>
#include <QDoubleSpinBox>
#include <QPushButton>

#include "app/alarm_banner.h"
#include "app/alarm_notifier.h"
#include "app/frm_alarms.h"
#include "fake_prompter.h"

namespace kr820::app {
namespace {

class AlarmDialogTest : public ::testing::Test {
protected:
    TfrmAlarms& Dialog(std::optional<core::DisplayUnit> unit = core::DisplayUnit::Celsius) {
        dialog =
            std::make_unique<TfrmAlarms>(core::AlarmPreferences{}, std::nullopt, unit, prompter);
        dialog->show();
        return *dialog;
    }
    void SetLimit(const char* name, double value) {
        dialog->findChild<QCheckBox*>(QString::fromLatin1(name) + "On")->setChecked(true);
        dialog->findChild<QDoubleSpinBox*>(QString::fromLatin1(name))->setValue(value);
    }
    QDoubleSpinBox* Box(const char* name) const {
        return dialog->findChild<QDoubleSpinBox*>(QString::fromLatin1(name));
    }

    testing::FakePrompter prompter;
    std::unique_ptr<TfrmAlarms> dialog;
};

TEST_F(AlarmDialogTest, ALowLimitAboveTheHighOneIsRefusedAndTheDialogStays) {
    Dialog();
    SetLimit("T1High", 30.0);
    SetLimit("T1Low", 40.0);
    dialog->accept();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_TRUE(dialog->isVisible());
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains("T1 low limit 40.0 \u00B0C is above its high limit"))
        << prompter.messages[0].toStdString();
    // What was typed is kept, the cursor in the limit to mend.
    EXPECT_EQ(Box("T1Low")->value(), 40.0);
    EXPECT_EQ(Box("T1High")->value(), 30.0);
    EXPECT_EQ(dialog->focusWidget(), Box("T1Low"));

    Box("T1Low")->setValue(20.0);
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(prompter.messages.size(), 1);
}

TEST_F(AlarmDialogTest, ALimitNoReadingReachesIsRefusedNamingTheRangeNotCut) {
    Dialog();
    SetLimit("T2High", 99999.0);
    EXPECT_EQ(Box("T2High")->value(), 99999.0) << "taken as typed, not cut to a range";
    dialog->accept();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].contains("(-200.0 \u00B0C to 1370.0 \u00B0C)"))
        << prompter.messages[0].toStdString();

    Box("T2High")->setValue(1370.0);
    SetLimit("T2Low", -5000.0);
    dialog->accept();
    EXPECT_NE(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(dialog->focusWidget(), Box("T2Low"));
    // A limit switched off is not watched, and not refused.
    dialog->findChild<QCheckBox*>("T2LowOn")->setChecked(false);
    dialog->accept();
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
}

TEST(AlarmNotifications, NormalUrgencyWithATimeOutUnlessCriticalIsAsked) {
    const auto hintsAndTimeOut = [](NotificationUrgency urgency) {
        const QList<QVariant> arguments =
            AlarmNotificationMessage("T1 high alarm", "raised", urgency).arguments();
        EXPECT_EQ(arguments.size(), 8);
        const QVariantMap hints = arguments.value(6).toMap();
        return std::make_pair(hints.value("urgency").value<uchar>(), arguments.value(7).toInt());
    };
    const auto normal = hintsAndTimeOut(NotificationUrgency::Normal);
    EXPECT_EQ(normal.first, 1);
    EXPECT_GT(normal.second, 0) << "goes after a while";
    const auto critical = hintsAndTimeOut(NotificationUrgency::Critical);
    EXPECT_EQ(critical.first, 2);

    // Critical only when asked for in the dialog.
    testing::FakePrompter prompter;
    TfrmAlarms dialog(core::AlarmPreferences{}, std::nullopt, std::nullopt, prompter);
    EXPECT_FALSE(dialog.Choice().Actions.NotifyCritical);
    dialog.findChild<QCheckBox*>("NotifyCritical")->setChecked(true);
    EXPECT_TRUE(dialog.Choice().Actions.NotifyCritical);
}

TEST(AlarmBannerPlace, AcknowledgeIsAtTheLeftWhereNotificationsDoNotGather) {
    AlarmBanner banner;
    banner.resize(1000, 60);
    banner.ShowLines({"T1 high alarm raised: 35.0 \u00B0C, limit 30.0 \u00B0C at 10:00"});
    banner.show();
    QCoreApplication::processEvents();
    const QWidget* text = banner.findChild<QWidget*>("lblAlarms");
    EXPECT_LT(banner.AcknowledgeButton()->geometry().right(), text->geometry().left());
    EXPECT_LT(banner.AcknowledgeButton()->geometry().left(), banner.width() / 4);
}

}  // namespace
}  // namespace kr820::app
