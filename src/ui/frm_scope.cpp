// SPDX-License-Identifier: MIT
#include "ui/frm_scope.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kr820::ui {

TfrmScope::TfrmScope(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName("frmScope");

    GroupBox1 = new QGroupBox(this);
    GroupBox1->setObjectName("GroupBox1");
    radAll = new QRadioButton("&All", GroupBox1);
    radAll->setObjectName("radAll");
    radAll->setChecked(true);
    radNo = new QRadioButton("&Select", GroupBox1);
    radNo->setObjectName("radNo");
    edtSelFrom = new QLineEdit(GroupBox1);
    edtSelFrom->setObjectName("edtSelFrom");
    edtSelTo = new QLineEdit(GroupBox1);
    edtSelTo->setObjectName("edtSelTo");
    auto* fromLabel = new QLabel("&from", GroupBox1);
    fromLabel->setBuddy(edtSelFrom);
    auto* toLabel = new QLabel("&to", GroupBox1);
    toLabel->setBuddy(edtSelTo);
    auto* range = new QHBoxLayout;
    range->addWidget(fromLabel);
    range->addWidget(edtSelFrom);
    range->addWidget(toLabel);
    range->addWidget(edtSelTo);
    auto* group = new QVBoxLayout(GroupBox1);
    group->addWidget(radAll);
    group->addWidget(radNo);
    group->addLayout(range);

    Progress1 = new QProgressBar(this);
    Progress1->setObjectName("Progress1");
    SText1 = new QLabel(this);
    SText1->setObjectName("SText1");
    SText2 = new QLabel(this);
    SText2->setObjectName("SText2");
    lblBytesReceived = new QLabel("0", this);
    lblBytesReceived->setObjectName("lblBytesReceived");
    lblTotalBytes = new QLabel(this);
    lblTotalBytes->setObjectName("lblTotalBytes");
    auto* counters = new QFormLayout;
    counters->addRow(SText1, lblBytesReceived);
    counters->addRow(SText2, lblTotalBytes);

    BitBtn1 = new QPushButton("OK", this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton("Cancel", this);
    BitBtn2->setObjectName("BitBtn2");
    connect(BitBtn1, &QPushButton::clicked, this, &QDialog::accept);
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        m_cancelPressed = true;
        reject();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(BitBtn1);
    buttons->addWidget(BitBtn2);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(GroupBox1);
    layout->addWidget(Progress1);
    layout->addLayout(counters);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    for (QWidget* control :
         {static_cast<QWidget*>(GroupBox1), static_cast<QWidget*>(Progress1),
          static_cast<QWidget*>(SText1), static_cast<QWidget*>(SText2),
          static_cast<QWidget*>(lblBytesReceived), static_cast<QWidget*>(lblTotalBytes),
          static_cast<QWidget*>(BitBtn1), static_cast<QWidget*>(BitBtn2)})
        control->hide();
}

void TfrmScope::ShowRangeChoice(int pointCount) {
    edtSelFrom->setText("1");
    edtSelTo->setText(QString::number(pointCount));
    GroupBox1->show();
    BitBtn1->show();
    BitBtn2->show();
}

void TfrmScope::ShowProgress(int total, const QString& text, bool withCancel) {
    Progress1->setRange(0, total);
    Progress1->setValue(0);
    Progress1->show();
    SText1->setText(text);
    SText1->show();
    BitBtn2->setVisible(withCancel);
}

void TfrmScope::ShowTransferCounters(int totalBytes) {
    Progress1->setRange(0, totalBytes);
    Progress1->setValue(0);
    Progress1->show();
    SText1->setText("bytes received");
    SText2->setText("total bytes");
    lblBytesReceived->setText("0");
    lblTotalBytes->setText(QString::number(totalBytes));
    for (QWidget* control :
         {static_cast<QWidget*>(SText1), static_cast<QWidget*>(SText2),
          static_cast<QWidget*>(lblBytesReceived), static_cast<QWidget*>(lblTotalBytes)})
        control->show();
}

void TfrmScope::SetBytesReceived(int bytes) {
    lblBytesReceived->setText(QString::number(bytes));
    Progress1->setValue(bytes);
}

}  // namespace kr820::ui
