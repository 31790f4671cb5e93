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

#include "ui/fit_on_screen.h"
#include "ui/whole_caption.h"

namespace kr820::ui {
namespace {

template <typename Widget>
Widget* Named(Widget* widget, const char* name) {
    widget->setObjectName(name);
    return widget;
}

}  // namespace

TfrmScope::TfrmScope(QWidget* owner) : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName("frmScope");

    m_rangeGroup = Named(new QGroupBox(this), "grpRange");
    m_radAll = Named(new QRadioButton("&All", m_rangeGroup), "radAll");
    m_radAll->setChecked(true);
    m_radNo = Named(new QRadioButton("&Select", m_rangeGroup), "radNo");
    m_edtSelFrom = Named(new QLineEdit(m_rangeGroup), "edtSelFrom");
    m_edtSelTo = Named(new QLineEdit(m_rangeGroup), "edtSelTo");
    auto* fromLabel = new QLabel("&from", m_rangeGroup);
    fromLabel->setBuddy(m_edtSelFrom);
    auto* toLabel = new QLabel("&to", m_rangeGroup);
    toLabel->setBuddy(m_edtSelTo);
    auto* range = new QHBoxLayout;
    range->addWidget(fromLabel);
    range->addWidget(m_edtSelFrom);
    range->addWidget(toLabel);
    range->addWidget(m_edtSelTo);
    auto* group = new QVBoxLayout(m_rangeGroup);
    group->addWidget(m_radAll);
    group->addWidget(m_radNo);
    group->addLayout(range);

    m_progressBar = Named(new QProgressBar(this), "prgProgress");
    m_progressText = Named(new QLabel(this), "lblProgressText");
    m_totalCaption = Named(new QLabel(this), "lblTotalCaption");
    m_lblBytesReceived = Named(new QLabel("0", this), "lblBytesReceived");
    m_lblTotalBytes = Named(new QLabel(this), "lblTotalBytes");
    auto* counters = new QFormLayout;
    counters->addRow(m_progressText, m_lblBytesReceived);
    counters->addRow(m_totalCaption, m_lblTotalBytes);

    m_okButton = Named(new QPushButton("OK", this), "btnOK");
    m_cancelButton = Named(new QPushButton("Cancel", this), "btnCancel");
    connect(m_okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] {
        m_cancelPressed = true;
        reject();
    });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_rangeGroup);
    layout->addWidget(m_progressBar);
    layout->addLayout(counters);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ScrollWhenLargerThanScreen(*this);
    KeepCaptionWhole(*this);

    for (QWidget* control : std::initializer_list<QWidget*>{
             m_rangeGroup, m_progressBar, m_progressText, m_totalCaption, m_lblBytesReceived,
             m_lblTotalBytes, m_okButton, m_cancelButton})
        control->hide();
}

void TfrmScope::ShowRangeChoice(int pointCount) {
    m_edtSelFrom->setText("1");
    m_edtSelTo->setText(QString::number(pointCount));
    m_rangeGroup->show();
    m_okButton->show();
    m_cancelButton->show();
}

PointRangeChoice TfrmScope::RangeChoice() const {
    return {m_radAll->isChecked(), m_edtSelFrom->text(), m_edtSelTo->text()};
}

void TfrmScope::ShowProgress(int total, const QString& text, bool withCancel) {
    m_progressBar->setRange(0, total);
    m_progressBar->setValue(0);
    m_progressBar->show();
    m_progressText->setText(text);
    m_progressText->show();
    m_cancelButton->setVisible(withCancel);
}

void TfrmScope::SetProgress(int done) { m_progressBar->setValue(done); }

void TfrmScope::ShowCount(const QString& count) {
    m_progressText->setText(count);
    m_progressText->show();
    m_cancelButton->show();
}

void TfrmScope::ShowTransferCounters(int totalBytes) {
    m_progressBar->setRange(0, totalBytes);
    m_progressBar->setValue(0);
    m_progressBar->show();
    m_progressText->setText("bytes received");
    m_totalCaption->setText("total bytes");
    m_lblBytesReceived->setText("0");
    m_lblTotalBytes->setText(QString::number(totalBytes));
    for (QWidget* control : std::initializer_list<QWidget*>{m_progressText, m_totalCaption,
                                                            m_lblBytesReceived, m_lblTotalBytes})
        control->show();
}

void TfrmScope::SetBytesReceived(int bytes) {
    m_lblBytesReceived->setText(QString::number(bytes));
    m_progressBar->setValue(bytes);
}

}  // namespace kr820::ui
