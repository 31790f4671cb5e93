// SPDX-License-Identifier: MIT
#include "ui/frm_open_save.h"

#include <QPushButton>
#include <QVBoxLayout>

#include "ui/centre_on_screen.h"
#include "ui/whole_caption.h"

namespace kr820::ui {

TfrmOpenSave::TfrmOpenSave(const QString& caption, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName("frmOpenSave");
    setWindowTitle(caption);
    m_btnOpenSets =
        new QPushButton("Save all data sets to a data set collection file(*.820)", this);
    m_btnOpenSets->setObjectName("btnOpenSets");
    m_btnOpenSingleSet = new QPushButton("Save single selected  data set to a  file", this);
    m_btnOpenSingleSet->setObjectName("btnOpenSingleSet");
    m_btnCancel = new QPushButton("Cancel", this);
    m_btnCancel->setObjectName("btnCancel");
    connect(m_btnOpenSets, &QPushButton::clicked, this, [this] { done(Collection); });
    connect(m_btnOpenSingleSet, &QPushButton::clicked, this, [this] { done(SingleSet); });
    connect(m_btnCancel, &QPushButton::clicked, this, [this] { done(Cancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_btnOpenSets);
    layout->addWidget(m_btnOpenSingleSet);
    layout->addWidget(m_btnCancel);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    KeepCaptionWhole(*this);
    adjustSize();
    CentreOnScreen(*this);
}

void TfrmOpenSave::UseOpenCaptions(bool decimalComma) {
    m_btnOpenSets->setText("Open a data set collection file(*.820)");
    m_btnOpenSingleSet->setText(decimalComma ? "Open single data flle(*.TXT,*.GHF)"
                                             : "Open single data file(*.TXT,*.CSV,*.GHF,*.KR8DB)");
}

}  // namespace kr820::ui
