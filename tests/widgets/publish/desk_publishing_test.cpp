// SPDX-License-Identifier: MIT
// The desktop publishing its meter to a real mosquitto broker on a loopback port: what a
// subscriber receives, the broker's panel in the status bar, and the choice kept across runs.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QFile>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QSignalSpy>
#include <QSpinBox>

#include "app/desk_publisher.h"
#include "app/frm_publish.h"
#include "core/settings/program_folder.h"
#include "local_servers.h"
#include "main_window_rig.h"

namespace kr820::app {
namespace {

using testing::ReceivedMessage;
using testing::WaitFor;

std::string LastPayload(const std::vector<ReceivedMessage>& messages) {
    return messages.empty() ? std::string() : messages.back().payload;
}

class DeskPublishingTest : public testing::MainWindowRig {
protected:
    void SetUp() override {
        ASSERT_TRUE(home.isValid());
        qputenv("KR820_HOME", home.path().toLocal8Bit());
    }
    static void Choose(const PublishSettings& chosen) {
        WritePublishSettings(*core::OpenProgramSettings(), chosen);
    }
    static PublishSettings ToBroker(int port) {
        PublishSettings chosen;
        chosen.On = true;
        chosen.Url = QStringLiteral("mqtt://127.0.0.1:%1").arg(port);
        return chosen;
    }
    QString Broker() const { return window->BrokerStatusText(); }
};

TEST_F(DeskPublishingTest, TheMeterReachesASubscriberAndOutlivesItsLossUntilTheQuit) {
    KR820_SKIP_WITHOUT("mosquitto");
    testing::RunningBroker broker;
    ASSERT_TRUE(broker.Start());
    testing::Subscriber subscriber(broker.Port(), "kr820/#");
    ASSERT_TRUE(subscriber.WaitSubscribed());
    Choose(ToBroker(broker.Port()));
    StartProgram();
    ASSERT_FALSE(HasFatalFailure());

    ASSERT_TRUE(WaitFor(
        [&] {
            return !subscriber.On("kr820/desk/state").empty() &&
                   !subscriber.On("kr820/desk/t1").empty() &&
                   !subscriber.On("kr820/desk/t2").empty();
        },
        15000));
    const std::string state = LastPayload(subscriber.On("kr820/desk/state"));
    EXPECT_NE(state.find("\"t1\":"), std::string::npos) << state;
    EXPECT_NE(state.find("\"alarms\":"), std::string::npos) << state;
    bool number = false;
    QString::fromStdString(LastPayload(subscriber.On("kr820/desk/t1"))).toDouble(&number);
    EXPECT_TRUE(number);
    EXPECT_EQ(LastPayload(subscriber.On("kr820/desk/availability")), "online");
    EXPECT_EQ(Broker(), "Broker: connected");
    auto* panel = window->findChild<QLabel*>("StatusPanelBroker");
    ASSERT_TRUE(panel);
    EXPECT_TRUE(panel->isVisible());
    EXPECT_FALSE(panel->accessibleName().isEmpty());

    // One who subscribes later learns at once that the meter is there.
    testing::Subscriber late(broker.Port(), "kr820/desk/availability", "kr820-late-subscriber");
    ASSERT_TRUE(WaitFor([&] { return !late.On("kr820/desk/availability").empty(); }, 10000));
    EXPECT_TRUE(late.On("kr820/desk/availability").front().retained);
    EXPECT_EQ(late.On("kr820/desk/availability").front().payload, "online");

    // The meter lost and found again: its availability follows, its readings come back.
    meter->Unplug();
    ASSERT_TRUE(WaitFor(
        [&] { return LastPayload(subscriber.On("kr820/desk/availability")) == "offline"; }, 15000));
    std::string error;
    ASSERT_TRUE(meter->Plug(&error)) << error;
    const size_t readingsBefore = subscriber.On("kr820/desk/t1").size();
    ASSERT_TRUE(WaitFor(
        [&] {
            return LastPayload(subscriber.On("kr820/desk/availability")) == "online" &&
                   subscriber.On("kr820/desk/t1").size() > readingsBefore;
        },
        15000));

    // The quit says goodbye; the panel goes.
    window->close();
    ASSERT_TRUE(WaitFor(
        [&] { return LastPayload(subscriber.On("kr820/desk/availability")) == "offline"; }, 10000));
    EXPECT_TRUE(Broker().isEmpty());
}

TEST_F(DeskPublishingTest, TheBrokersPanelFollowsTheBrokerStoppedAndStarted) {
    KR820_SKIP_WITHOUT("mosquitto");
    testing::RunningBroker broker;
    ASSERT_TRUE(broker.Start());
    Choose(ToBroker(broker.Port()));
    StartProgram();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(WaitFor([&] { return Broker() == "Broker: connected"; }, 10000))
        << Broker().toStdString();

    broker.Stop();
    // Readings wait for the broker, counted in the panel.
    ASSERT_TRUE(WaitFor([&] { return Broker().startsWith("Broker: away ("); }, 10000))
        << Broker().toStdString();
    ASSERT_TRUE(WaitFor([&] { return Broker() != "Broker: away (0 waiting)"; }, 10000))
        << Broker().toStdString();
    EXPECT_TRUE(Broker().endsWith(" waiting)")) << Broker().toStdString();

    ASSERT_TRUE(broker.Start());
    ASSERT_TRUE(WaitFor([&] { return Broker() == "Broker: connected"; }, 20000))
        << Broker().toStdString();
}

TEST_F(DeskPublishingTest, WhyTheBrokerIsAwayIsInThePanelsTipAndTheDialog) {
    // Nobody listens on the port: the connection is refused.
    Choose(ToBroker(testing::FreeLoopbackPort()));
    StartProgram();
    ASSERT_FALSE(HasFatalFailure());
    auto* panel = window->findChild<QLabel*>("StatusPanelBroker");
    ASSERT_NE(panel, nullptr);
    ASSERT_TRUE(WaitFor([&] { return !panel->toolTip().isEmpty(); }, 10000))
        << Broker().toStdString();
    EXPECT_TRUE(Broker().startsWith("Broker: away (")) << Broker().toStdString();
    EXPECT_EQ(panel->toolTip(), "Broker away: Connection refused");

    QString shown;
    prompter.onDialog = [&](QDialog& dialog) {
        if (auto* publish = qobject_cast<TfrmPublish*>(&dialog)) shown = publish->BrokerStateText();
        return int(QDialog::Rejected);
    };
    window->PublishClick();
    EXPECT_TRUE(shown.startsWith("Broker: away (")) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith("): Connection refused")) << shown.toStdString();
}

TEST_F(DeskPublishingTest, TheChoiceAndARememberedPasswordSurviveANewWindow) {
    const int nobody = testing::FreeLoopbackPort();
    StartProgram();
    ASSERT_FALSE(HasFatalFailure());
    EXPECT_TRUE(Broker().isEmpty());  // not publishing: no panel

    // Publish... on the menu bar, not under the command lock.
    QAction* item = window->Item("Publish1");
    ASSERT_TRUE(item);
    EXPECT_EQ(item->text(), "&Publish...");
    int asked = 0;
    QString typedPassword;
    bool remember = false;
    prompter.onDialog = [&](QDialog& dialog) {
        if (dialog.objectName() == "frmBrokerPassword") {
            ++asked;
            static_cast<QInputDialog&>(dialog).setTextValue(typedPassword);
            return int(QDialog::Accepted);
        }
        if (!qobject_cast<TfrmPublish*>(&dialog)) return int(QDialog::Rejected);
        dialog.findChild<QCheckBox*>("PublishOn")->setChecked(true);
        dialog.findChild<QLineEdit*>("BrokerUrl")
            ->setText(QStringLiteral("mqtt://127.0.0.1:%1").arg(nobody));
        dialog.findChild<QLineEdit*>("User")->setText("lab");
        dialog.findChild<QLineEdit*>("Password")->setText(typedPassword);
        dialog.findChild<QCheckBox*>("RememberPassword")->setChecked(remember);
        dialog.findChild<QLineEdit*>("MeterName")->setText("oven 1");
        dialog.findChild<QSpinBox*>("QueueLength")->setValue(500);
        dialog.accept();
        return dialog.result();
    };
    typedPassword = "first-secret";
    item->trigger();
    // No broker listens there: publishing tries on and says so.
    EXPECT_TRUE(Broker().startsWith("Broker: ")) << Broker().toStdString();
    EXPECT_TRUE(prompter.messages.isEmpty()) << prompter.messages.join('\n').toStdString();

    // A password the user did not let the program keep is not in its settings file.
    const QString file = core::OpenProgramSettings()->fileName();
    window.reset();
    QFile settingsFile(file);
    ASSERT_TRUE(settingsFile.open(QIODevice::ReadOnly));
    EXPECT_FALSE(settingsFile.readAll().contains("first-secret"));

    // The next run asks for it before it publishes again.
    typedPassword = "typed-at-start";
    window = std::make_unique<TfrmMain>(prompter, [this](QStringList& list) { list << device; });
    QSignalSpy finished(window.get(), &TfrmMain::startupFinished);
    window->show();
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_EQ(asked, 1);
    const PublishSettings kept = window->PublishChoice();
    EXPECT_TRUE(kept.On);
    EXPECT_EQ(kept.Url, QStringLiteral("mqtt://127.0.0.1:%1").arg(nobody));
    EXPECT_EQ(kept.User, "lab");
    EXPECT_EQ(kept.Password, "typed-at-start");
    EXPECT_EQ(kept.MeterName, "oven 1");
    EXPECT_EQ(kept.QueueLimit, 500);
    EXPECT_TRUE(window->Publisher().Running());

    // Remembered, it is not asked for again.
    typedPassword = "kept-secret";
    remember = true;
    window->Item("Publish1")->trigger();
    window.reset();
    window = std::make_unique<TfrmMain>(prompter, [this](QStringList& list) { list << device; });
    QSignalSpy again(window.get(), &TfrmMain::startupFinished);
    window->show();
    ASSERT_TRUE(again.wait(10000));
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(window->PublishChoice().Password, "kept-secret");
    EXPECT_TRUE(window->Publisher().Running());
}

}  // namespace
}  // namespace kr820::app
