// SPDX-License-Identifier: MIT
#include "ui/frm_info.h"

#include <QCoreApplication>
#include <QLabel>
#include <QVBoxLayout>

#include "ui/centre_on_screen.h"

namespace kr820::ui {

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
    CentreOnScreen(*this);
}

void TfrmInfo::ShowText(const QString& text) {
    m_lblInfo->setText(text);
    show();
    repaint();
    // The window system maps and paints through the event loop; the user's input stays out.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

}  // namespace kr820::ui
