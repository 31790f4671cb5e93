// SPDX-License-Identifier: MIT
#include "ui/frm_open_save.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace kr820::ui {

TfrmOpenSave::TfrmOpenSave(const QString& caption, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint) {
    setObjectName("frmOpenSave");
    setWindowTitle(caption);
    btnOpenSets = new QPushButton("Save all data sets to a data set collection file(*.820)", this);
    btnOpenSets->setObjectName("btnOpenSets");
    btnOpenSingleSet = new QPushButton("Save single selected  data set to a  file", this);
    btnOpenSingleSet->setObjectName("btnOpenSingleSet");
    Button1 = new QPushButton("Cancel", this);
    Button1->setObjectName("Button1");
    connect(btnOpenSets, &QPushButton::clicked, this, [this] { done(Collection); });
    connect(btnOpenSingleSet, &QPushButton::clicked, this, [this] { done(SingleSet); });
    connect(Button1, &QPushButton::clicked, this, [this] { done(Cancel); });

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(btnOpenSets);
    layout->addWidget(btnOpenSingleSet);
    layout->addWidget(Button1);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        adjustSize();
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TfrmOpenSave::UseOpenCaptions(bool decimalComma) {
    btnOpenSets->setText("Open a data set collection file(*.820)");
    btnOpenSingleSet->setText(decimalComma ? "Open single data flle(*.TXT,*.GHF)"
                                           : "Open single data file(*.TXT,*.CSV,*.GHF)");
}

}  // namespace kr820::ui
