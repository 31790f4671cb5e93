// SPDX-License-Identifier: MIT
#include "graph/frm_anno_edit.h"

#include <QDialogButtonBox>
#include <QFrame>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kr820::graph {

namespace {
constexpr int kTextBoxWidth = 297;
}

TfrmAnnoEdit::TfrmAnnoEdit(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_textBox(new QLineEdit(this)) {
    setObjectName(QStringLiteral("frmAnnoEdit"));
    m_textBox->setObjectName(QStringLiteral("annotationText"));
    m_textBox->setAccessibleName(QStringLiteral("Annotation text"));
    m_textBox->setFixedWidth(kTextBoxWidth);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("btnOK"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("btnCancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    // Without a title bar the window needs an edge of its own to stand out from the chart.
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Panel);
    frame->setFrameShadow(QFrame::Raised);
    auto* inner = new QVBoxLayout(frame);
    inner->addWidget(m_textBox);
    inner->addWidget(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(frame);
    setFixedSize(sizeHint());
}

QString TfrmAnnoEdit::Text() const { return m_textBox->text(); }

}  // namespace kr820::graph
