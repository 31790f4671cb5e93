// SPDX-License-Identifier: MIT
#pragma once

#include <QDialog>

#include "app/publish_settings.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace kr820::ui {
class Prompter;
}

namespace kr820::app {

// "Publish": whether the desktop publishes its meter's readings and alarms to an MQTT broker,
// and how it reaches the broker. OK refuses what the feeds could not use and keeps the dialog
// open with the cursor on the field at fault.
class TfrmPublish : public QDialog {
    Q_OBJECT

public:
    TfrmPublish(const PublishSettings& settings, ui::Prompter& prompter, QWidget* parent = nullptr);

    PublishSettings Choice() const;
    // What is wrong with the choice, empty while nothing was refused.
    QString Refusal() const;

    void accept() override;

    // Where publishing stands now ("Broker: away (7 waiting)") and why the broker is away.
    void ShowBrokerState(const QString& status, const QString& awayReason);
    QString BrokerStateText() const;

private:
    void BrowseCaFile();
    QWidget* FieldOf(PublishField field) const;

    ui::Prompter& m_prompter;
    QCheckBox* m_on;
    QLineEdit* m_url;
    QLineEdit* m_caFile;
    QLineEdit* m_user;
    QLineEdit* m_password;
    QCheckBox* m_remember;
    QLineEdit* m_meterName;
    QSpinBox* m_queue;
    QLabel* m_refusal;
    QLabel* m_brokerState;
};

}  // namespace kr820::app
