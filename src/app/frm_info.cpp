// SPDX-License-Identifier: MIT
#include "app/frm_info.h"

#include <QGuiApplication>
#include <QLabel>
#include <QScreen>
#include <QVBoxLayout>

namespace kr820::app {

TfrmInfo::TfrmInfo(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowStaysOnTopHint) {
    setObjectName("frmInfo");
    setWindowTitle("Information");
    m_lblInfo = new QLabel("Please wait for loading setup option from meter .....", this);
    m_lblInfo->setObjectName("lblInfo");
    m_lblInfo->setAlignment(Qt::AlignCenter);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 24, 24, 24);
    layout->addWidget(m_lblInfo);
    setFixedSize(380, 90);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace kr820::app
