// SPDX-License-Identifier: MIT
#include "meter/frm_err.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kr820::meter {

TfrmErr::TfrmErr(QWidget* owner) : QDialog(owner) {
    setObjectName("frmErr");
    setWindowTitle("Error Message");
    setModal(true);
    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->setWordWrap(true);
    Label1->setMinimumWidth(380);
    Button1 = new QPushButton("Fixed the error ", this);
    Button1->setObjectName("Button1");
    Button2 = new QPushButton("Try Again", this);
    Button2->setObjectName("Button2");
    Button3 = new QPushButton("Cancel", this);
    Button3->setObjectName("Button3");
    connect(Button1, &QPushButton::clicked, this, [this] { done(FixError); });
    connect(Button2, &QPushButton::clicked, this, [this] { done(Retry); });
    connect(Button3, &QPushButton::clicked, this, [this] { done(Cancel); });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    buttons->addWidget(Button3);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace kr820::meter
