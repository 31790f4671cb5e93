// SPDX-License-Identifier: MIT
// The main window's part in publishing: the Publish dialog, the start at program start, the
// broker's status panel.
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QSettings>

#include "app/alarm_desk.h"
#include "app/desk_publisher.h"
#include "app/frm_main.h"
#include "app/frm_publish.h"
#include "core/settings/program_folder.h"
#include "ui/prompter.h"

namespace kr820::app {

void TfrmMain::CreatePublisher() {
    m_publisher = new DeskPublisher(m_link.Readings(), *m_alarms, this);
    connect(m_publisher, &DeskPublisher::statusChanged, this, &TfrmMain::ShowBrokerState);
    m_publishSettings = ReadPublishSettings(*core::OpenProgramSettings());
}

void TfrmMain::PublishClick() {
    TfrmPublish dialog(m_publishSettings, m_prompter, this);
    dialog.ShowBrokerState(m_publisher->StatusText(), m_publisher->AwayReason());
    if (m_prompter.Exec(dialog) != QDialog::Accepted) return;
    const PublishSettings chosen = dialog.Choice();
    WritePublishSettings(*core::OpenProgramSettings(), chosen);
    // OK on what already runs keeps the connection and its queue.
    if (chosen == m_publishSettings && m_publisher->Running() == chosen.On) return;
    m_publishSettings = chosen;
    StartPublishing();
}

void TfrmMain::StartPublishing() {
    if (!m_publishSettings.On) {
        m_publisher->Stop();
        return;
    }
    // A broker with users wants the password this program was not allowed to keep.
    if (!m_publishSettings.User.isEmpty() && m_publishSettings.Password.isEmpty() &&
        !m_publishSettings.RememberPassword) {
        const std::optional<QString> password = AskBrokerPassword();
        if (!password) {
            m_publisher->Stop();
            TellWhenIdle(
                tr("Publishing to the broker waits for its password: give it in "
                   "Publish..."));
            return;
        }
        m_publishSettings.Password = *password;
    }
    const auto settings = MqttSettingsOf(m_publishSettings);
    if (const auto* refusal = std::get_if<PublishRefusal>(&settings)) {
        // Settings kept from an earlier run that no longer hold (a CA file removed since).
        m_publisher->Stop();
        TellWhenIdle(tr("Not publishing: %1").arg(refusal->message));
        return;
    }
    if (const auto error = m_publisher->Start(std::get<feeds::MqttSettings>(settings),
                                              m_publishSettings.MeterName))
        TellWhenIdle(tr("Not publishing: %1").arg(*error));
}

std::optional<QString> TfrmMain::AskBrokerPassword() {
    QInputDialog dialog(this);
    dialog.setObjectName("frmBrokerPassword");
    dialog.setWindowTitle(tr("Publish"));
    dialog.setLabelText(
        tr("Password of %1 at %2:").arg(m_publishSettings.User, m_publishSettings.Url));
    dialog.setTextEchoMode(QLineEdit::Password);
    if (m_prompter.Exec(dialog) != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

void TfrmMain::ShowBrokerState() {
    const QString text = m_publisher->StatusText();
    const QString reason = m_publisher->AwayReason();
    m_brokerPanel->setText(text);
    m_brokerPanel->setToolTip(reason.isEmpty() ? QString() : tr("Broker away: %1").arg(reason));
    m_brokerPanel->setVisible(!text.isEmpty());
}

QString TfrmMain::BrokerStatusText() const { return m_brokerPanel->text(); }

}  // namespace kr820::app
