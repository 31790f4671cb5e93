// SPDX-License-Identifier: MIT
#include "print/frm_print_option.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

#include "print/print_option_pictures.h"
#include "ui/centre_on_screen.h"
#include "ui/whole_caption.h"

namespace kr820::print {
namespace {

QLabel* Picture(const char* name, const QPixmap& pixmap) {
    auto* label = new QLabel;
    label->setObjectName(QString::fromLatin1(name));
    label->setPixmap(pixmap);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

TfrmPrintOption::TfrmPrintOption(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName("frmPrintOption");
    setWindowTitle("Print Option");
    m_btnPrintGraph = new QPushButton("Print Graph", this);
    m_btnPrintGraph->setObjectName("btnPrintGraph");
    m_btnPrintText = new QPushButton("Print Text", this);
    m_btnPrintText->setObjectName("btnPrintText");
    m_btnCancel = new QPushButton("Cancel", this);
    m_btnCancel->setObjectName("btnCancel");
    connect(m_btnPrintGraph, &QPushButton::clicked, this, [this] { done(PrintGraph); });
    connect(m_btnPrintText, &QPushButton::clicked, this, [this] { done(PrintText); });
    connect(m_btnCancel, &QPushButton::clicked, this, [this] { done(Cancel); });

    auto* layout = new QGridLayout(this);
    layout->setHorizontalSpacing(24);
    layout->setVerticalSpacing(8);
    layout->addWidget(Picture("imgGraph", GraphPrintPicture()), 0, 0);
    layout->addWidget(Picture("imgText", TextPrintPicture()), 0, 1);
    layout->addWidget(m_btnPrintGraph, 1, 0);
    layout->addWidget(m_btnPrintText, 1, 1);
    layout->addWidget(m_btnCancel, 2, 0, 1, 2, Qt::AlignHCenter);
    layout->setRowMinimumHeight(2, m_btnCancel->sizeHint().height() + 12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    ui::KeepCaptionWhole(*this);
    adjustSize();
    ui::CentreOnScreen(*this);
}

}  // namespace kr820::print
