// SPDX-License-Identifier: MIT
#include "app/frm_publish.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

#include "ui/fit_on_screen.h"
#include "ui/prompter.h"

namespace kr820::app {
namespace {

// A week at one reading a second: beyond that the queue would hold more than a desk needs.
constexpr int kLongestQueue = 7 * 86400;

QLineEdit* Field(QWidget* parent, const char* name, const QString& text) {
    auto* field = new QLineEdit(text, parent);
    field->setObjectName(name);
    return field;
}

}  // namespace

TfrmPublish::TfrmPublish(const PublishSettings& settings, ui::Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_prompter(prompter) {
    setObjectName("frmPublish");
    setWindowTitle(tr("Publish"));

    m_on = new QCheckBox(tr("&Publish the readings to an MQTT broker"), this);
    m_on->setObjectName("PublishOn");
    m_on->setChecked(settings.On);

    auto* form = new QFormLayout;
    m_url = Field(this, "BrokerUrl", settings.Url);
    m_url->setPlaceholderText(QStringLiteral("mqtt://host:1883 or mqtts://host:8883"));
    form->addRow(tr("Broker &URL:"), m_url);

    m_caFile = Field(this, "CaFile", settings.CaFile);
    m_caFile->setPlaceholderText(tr("mqtts only; empty for the system's authorities"));
    auto* browse = new QPushButton(tr("&Browse..."), this);
    browse->setObjectName("btnBrowseCaFile");
    browse->setAccessibleName(tr("Browse for the CA file"));
    connect(browse, &QPushButton::clicked, this, &TfrmPublish::BrowseCaFile);
    auto* caRow = new QHBoxLayout;
    caRow->addWidget(m_caFile, 1);
    caRow->addWidget(browse);
    form->addRow(tr("C&A file:"), caRow);
    // A row holding a layout gets no buddy of its own.
    if (auto* label = qobject_cast<QLabel*>(form->labelForField(caRow))) label->setBuddy(m_caFile);

    m_user = Field(this, "User", settings.User);
    form->addRow(tr("Us&er:"), m_user);
    m_password = Field(this, "Password", settings.Password);
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(tr("Pass&word:"), m_password);
    m_remember = new QCheckBox(tr("&Remember the password"), this);
    m_remember->setObjectName("RememberPassword");
    m_remember->setChecked(settings.RememberPassword);
    m_remember->setToolTip(tr("Otherwise it is asked for each time publishing starts"));
    form->addRow(QString(), m_remember);

    m_meterName = Field(this, "MeterName", settings.MeterName);
    m_meterName->setToolTip(tr("The meter's topics are kr820/NAME/..."));
    form->addRow(tr("Meter &name in the topics:"), m_meterName);
    m_queue = new QSpinBox(this);
    m_queue->setObjectName("QueueLength");
    m_queue->setRange(1, kLongestQueue);
    m_queue->setValue(
        static_cast<int>(std::clamp<qsizetype>(settings.QueueLimit, 1, kLongestQueue)));
    m_queue->setSuffix(tr(" readings"));
    m_queue->setToolTip(tr("Readings kept while the broker is away; the oldest go first"));
    form->addRow(tr("&Queue length:"), m_queue);

    m_refusal = new QLabel(this);
    m_refusal->setObjectName("Refusal");
    m_refusal->setWordWrap(true);
    m_refusal->setStyleSheet(QStringLiteral("color: #b00000"));
    m_refusal->hide();
    m_brokerState = new QLabel(this);
    m_brokerState->setObjectName("BrokerState");
    m_brokerState->setWordWrap(true);
    m_brokerState->setTextFormat(Qt::PlainText);
    m_brokerState->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &TfrmPublish::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_on);
    layout->addLayout(form);
    layout->addWidget(m_refusal);
    layout->addWidget(m_brokerState);
    layout->addWidget(buttons);
    ui::ScrollWhenLargerThanScreen(*this);
}

void TfrmPublish::ShowBrokerState(const QString& status, const QString& awayReason) {
    QString text = status;
    if (!awayReason.isEmpty()) text += QStringLiteral(": ") + awayReason;
    m_brokerState->setText(text);
    m_brokerState->setVisible(!text.isEmpty());
}

QString TfrmPublish::BrokerStateText() const {
    return m_brokerState->isHidden() ? QString() : m_brokerState->text();
}

PublishSettings TfrmPublish::Choice() const {
    PublishSettings chosen;
    chosen.On = m_on->isChecked();
    chosen.Url = m_url->text().trimmed();
    chosen.CaFile = m_caFile->text().trimmed();
    chosen.User = m_user->text().trimmed();
    chosen.Password = m_password->text();
    chosen.RememberPassword = m_remember->isChecked();
    chosen.MeterName = m_meterName->text().trimmed();
    chosen.QueueLimit = m_queue->value();
    return chosen;
}

QString TfrmPublish::Refusal() const {
    return m_refusal->isHidden() ? QString() : m_refusal->text();
}

void TfrmPublish::accept() {
    const PublishSettings chosen = Choice();
    // Switched off, the settings wait unchecked until publishing is switched on.
    if (chosen.On) {
        const auto checked = MqttSettingsOf(chosen);
        if (const auto* refusal = std::get_if<PublishRefusal>(&checked)) {
            m_refusal->setText(refusal->message);
            m_refusal->show();
            QWidget* field = FieldOf(refusal->field);
            field->setFocus(Qt::OtherFocusReason);
            if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
            return;
        }
    }
    m_refusal->hide();
    QDialog::accept();
}

QWidget* TfrmPublish::FieldOf(PublishField field) const {
    switch (field) {
        case PublishField::Url:
            return m_url;
        case PublishField::CaFile:
            return m_caFile;
        case PublishField::MeterName:
            return m_meterName;
    }
    return m_url;
}

void TfrmPublish::BrowseCaFile() {
    const QString folder =
        m_caFile->text().isEmpty() ? QString() : QFileInfo(m_caFile->text()).absolutePath();
    const QString chosen = m_prompter.OpenFileName(
        this, folder, tr("Certificates (*.pem *.crt);;All files (*)"), nullptr);
    if (!chosen.isEmpty()) m_caFile->setText(chosen);
}

}  // namespace kr820::app
