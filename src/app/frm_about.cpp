// SPDX-License-Identifier: MIT
#include "app/frm_about.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/version.h"
#include "ui/centre_on_screen.h"

namespace kr820::app {

TfrmAbout::TfrmAbout(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName("frmAbout");
    setWindowTitle("About Kelvra for Temperature Recorder");
    setAttribute(Qt::WA_DeleteOnClose);

    auto* title = new QLabel("Kelvra for KR820", this);
    title->setObjectName("lblTitle");
    QFont titleFont = title->font();
    titleFont.setBold(true);
    titleFont.setItalic(true);
    titleFont.setPointSize(titleFont.pointSize() + 8);
    title->setFont(titleFont);
    title->setStyleSheet("color: #0000ff;");
    title->setAlignment(Qt::AlignCenter);

    m_lblStatus = new QLabel(this);
    m_lblStatus->setObjectName("lblStatus");
    m_lblStatus->setAlignment(Qt::AlignCenter);
    m_lblStatus->setMinimumWidth(320);

    auto* version = new QLabel("Version:", this);
    auto* lblVersion = new QLabel(KR820_VERSION_TEXT, this);
    lblVersion->setObjectName("lblVersion");
    auto* versionRow = new QHBoxLayout;
    versionRow->addStretch();
    versionRow->addWidget(version);
    versionRow->addWidget(lblVersion);
    versionRow->addStretch();

    m_btnOK = new QPushButton("OK", this);
    m_btnOK->setObjectName("btnOK");
    m_btnOK->setDefault(true);
    connect(m_btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(24, 20, 24, 16);
    layout->setSpacing(12);
    layout->addWidget(title);
    layout->addWidget(m_lblStatus);
    layout->addLayout(versionRow);
    layout->addWidget(m_btnOK, 0, Qt::AlignCenter);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    adjustSize();
    ui::CentreOnScreen(*this);
}

TfrmAbout* TfrmAbout::ShowSplash() {
    auto* splash = new TfrmAbout(nullptr);
    splash->setObjectName("frmSplash");
    splash->m_btnOK->hide();
    splash->adjustSize();
    ui::CentreOnScreen(*splash);
    splash->show();
    splash->repaint();
    // Only so that the window system shows it: no click may reach the program before it is up.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return splash;
}

void TfrmAbout::SetStatus(const QString& text) {
    m_lblStatus->setText(text);
    m_lblStatus->repaint();
    emit statusChanged(text);
}

QString TfrmAbout::Status() const { return m_lblStatus->text(); }

}  // namespace kr820::app
