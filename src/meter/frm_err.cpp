// SPDX-License-Identifier: MIT
#include "meter/frm_err.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "ui/whole_caption.h"

namespace kr820::meter {

TfrmErr::TfrmErr(QWidget* owner) : QDialog(owner) {
    setObjectName("frmErr");
    setWindowTitle("Error Message");
    setModal(true);
    m_message = new QLabel(this);
    m_message->setObjectName("lblMessage");
    m_message->setWordWrap(true);
    m_message->setMinimumWidth(380);
    m_btnFixError = new QPushButton("Fixed the error ", this);
    m_btnFixError->setObjectName("btnFixError");
    m_btnTryAgain = new QPushButton("Try Again", this);
    m_btnTryAgain->setObjectName("btnTryAgain");
    m_btnCancel = new QPushButton("Cancel", this);
    m_btnCancel->setObjectName("btnCancel");
    connect(m_btnFixError, &QPushButton::clicked, this, [this] { done(FixError); });
    connect(m_btnTryAgain, &QPushButton::clicked, this, [this] { done(Retry); });
    connect(m_btnCancel, &QPushButton::clicked, this, [this] { done(Cancel); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_btnFixError);
    buttons->addWidget(m_btnTryAgain);
    buttons->addWidget(m_btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_message);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ui::KeepCaptionWhole(*this);
}

void TfrmErr::ShowError(const QString& message, bool offerFix) {
    m_message->setText(message);
    m_btnFixError->setVisible(offerFix);
}

QString TfrmErr::Message() const { return m_message->text(); }

bool TfrmErr::OffersFix() const { return !m_btnFixError->isHidden(); }

}  // namespace kr820::meter
