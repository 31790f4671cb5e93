// SPDX-License-Identifier: MIT
#include "lcd/frm_lcd.h"

#include <QCloseEvent>
#include <QLabel>

namespace kr820::lcd {

TfrmLCD::TfrmLCD(QWidget* owner)
    : QWidget(owner, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                         Qt::WindowStaysOnTopHint) {
    setObjectName("frmLCD");
    setWindowTitle("LCD");
    setAttribute(Qt::WA_DeleteOnClose);
    setFixedSize(kClientWidth, kClientHeight);

    m_panel = new QWidget(this);
    m_panel->setObjectName("Panel1");
    m_panel->setGeometry(0, 0, kClientWidth, kClientHeight);
    m_panel->setAutoFillBackground(true);
    QPalette grey = m_panel->palette();
    grey.setColor(QPalette::Window, QColor(0xE4, 0xE4, 0xE4));
    m_panel->setPalette(grey);

    m_lblNoConnection = new QLabel("No Connection", m_panel);
    m_lblNoConnection->setObjectName("lblNoConnection");
    QFont font("Arial");
    font.setBold(true);
    font.setPixelSize(19);
    m_lblNoConnection->setFont(font);
    m_lblNoConnection->setStyleSheet("color: #ff0000; background: transparent;");
    m_lblNoConnection->adjustSize();
    m_lblNoConnection->move(0, 136);
    m_lblNoConnection->hide();
}

void TfrmLCD::closeEvent(QCloseEvent* event) {
    if (m_waitUntilIdle) m_waitUntilIdle();
    event->accept();
}

}  // namespace kr820::lcd
