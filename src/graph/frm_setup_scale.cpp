// SPDX-License-Identifier: MIT
#include "graph/frm_setup_scale.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/fit_on_screen.h"
#include "ui/prompter.h"

namespace kr820::graph {

namespace {

const QString kCaption = QStringLiteral("Y Axis Maximum And Minimum Scale Setup");

QLineEdit* Box(const char* name, int value, QWidget* parent) {
    auto* box = new QLineEdit(QString::number(value), parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

QGroupBox* ChannelGroup(const QString& channel, QLineEdit* min, QLineEdit* max, QWidget* parent) {
    auto* group = new QGroupBox(channel, parent);
    auto* form = new QFormLayout(group);
    form->addRow(QStringLiteral("MIN"), min);
    form->addRow(QStringLiteral("MAX"), max);
    // Each box is read out with its channel, not as one of two alike "MIN".
    min->setAccessibleName(channel + QStringLiteral(" MIN"));
    max->setAccessibleName(channel + QStringLiteral(" MAX"));
    return group;
}

}  // namespace

TfrmSetupScale::TfrmSetupScale(const core::ScaleBoxValues& current, ui::Prompter& prompter,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint),
      m_prompter(prompter),
      m_edtT1Min(Box("edtT1Min", current.T1Min, this)),
      m_edtT1Max(Box("edtT1Max", current.T1Max, this)),
      m_edtT2Min(Box("edtT2Min", current.T2Min, this)),
      m_edtT2Max(Box("edtT2Max", current.T2Max, this)),
      m_chkSave(new QCheckBox(QStringLiteral("Save this setting "), this)) {
    setObjectName(QStringLiteral("frmSetupScale"));
    setWindowTitle(kCaption);
    m_chkSave->setObjectName(QStringLiteral("chkSave"));

    auto* frame = new QGroupBox(kCaption, this);
    auto* channels = new QHBoxLayout(frame);
    channels->addWidget(ChannelGroup(QStringLiteral("T1"), m_edtT1Min, m_edtT1Max, frame));
    channels->addWidget(ChannelGroup(QStringLiteral("T2"), m_edtT2Min, m_edtT2Max, frame));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addWidget(m_chkSave);
    layout->addWidget(buttons);
    ui::ScrollWhenLargerThanScreen(*this);
    setFixedSize(sizeHint());
}

void TfrmSetupScale::accept() {
    const std::optional<core::ScaleBoxProblem> problem = core::CheckScaleBoxes(Texts());
    if (!problem) {
        QDialog::accept();
        return;
    }
    m_prompter.Message(this, problem->Message);
    QLineEdit* boxes[] = {m_edtT1Min, m_edtT1Max, m_edtT2Min, m_edtT2Max};
    QLineEdit* mend = boxes[problem->Box];
    mend->setFocus(Qt::OtherFocusReason);
    mend->selectAll();
}

core::ScaleBoxTexts TfrmSetupScale::Texts() const {
    return {m_edtT1Min->text(), m_edtT1Max->text(), m_edtT2Min->text(), m_edtT2Max->text()};
}

bool TfrmSetupScale::SaveSetting() const { return m_chkSave->isChecked(); }

}  // namespace kr820::graph
