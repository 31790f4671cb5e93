// SPDX-License-Identifier: MIT
#include "ui/help_window.h"

#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace kr820::ui {

HelpWindow::HelpWindow(const QString& pagePath, QWidget* owner)
    : QWidget(owner, Qt::Window),
      m_browser(new QTextBrowser(this)),
      m_search(new QLineEdit(this)),
      m_notFound(new QLabel(this)) {
    setObjectName("frmHelp");
    setWindowTitle(QStringLiteral("KR820 Help"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_browser->setObjectName("HelpBrowser");
    m_browser->setAccessibleName(QStringLiteral("Help page"));
    // Links within the page are followed here; links out of it go to the system's browser.
    m_browser->setOpenExternalLinks(true);
    if (QFileInfo::exists(pagePath)) {
        m_browser->setSource(QUrl::fromLocalFile(pagePath));
    } else {
        m_browser->setPlainText(
            QStringLiteral("The help page was not found; it belongs at %1.").arg(pagePath));
    }

    auto* findLabel = new QLabel(QStringLiteral("&Find:"), this);
    m_search->setObjectName("edtFind");
    m_search->setClearButtonEnabled(true);
    findLabel->setBuddy(m_search);
    auto* next = new QPushButton(QStringLiteral("&Next"), this);
    next->setObjectName("btnFindNext");
    auto* previous = new QPushButton(QStringLiteral("&Previous"), this);
    previous->setObjectName("btnFindPrevious");
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    back->setObjectName("btnBack");
    m_notFound->setObjectName("lblNotFound");
    connect(m_search, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(m_search, &QLineEdit::textEdited, m_notFound, &QLabel::clear);
    connect(next, &QPushButton::clicked, this, [this] { FindNext(); });
    connect(previous, &QPushButton::clicked, this, [this] { FindNext(true); });
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    back->setEnabled(false);
    connect(new QShortcut(QKeySequence::Find, this), &QShortcut::activated, this, [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    connect(new QShortcut(QKeySequence::FindNext, this), &QShortcut::activated, this,
            [this] { FindNext(); });
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated, this,
            &QWidget::close);

    auto* searchRow = new QHBoxLayout;
    searchRow->addWidget(back);
    searchRow->addSpacing(12);
    searchRow->addWidget(findLabel);
    searchRow->addWidget(m_search, 1);
    searchRow->addWidget(next);
    searchRow->addWidget(previous);
    searchRow->addWidget(m_notFound);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(searchRow);
    layout->addWidget(m_browser, 1);
    resize(760, 560);
    m_browser->setFocus();
}

bool HelpWindow::FindNext(bool backwards) {
    const QString text = m_search->text();
    m_notFound->clear();
    if (text.isEmpty()) return false;
    const QTextDocument::FindFlags flags =
        backwards ? QTextDocument::FindBackward : QTextDocument::FindFlags();
    if (m_browser->find(text, flags)) return true;
    // Round again from the other end.
    QTextCursor from = m_browser->textCursor();
    from.movePosition(backwards ? QTextCursor::End : QTextCursor::Start);
    m_browser->setTextCursor(from);
    if (m_browser->find(text, flags)) return true;
    m_notFound->setText(QStringLiteral("Not found"));
    return false;
}

}  // namespace kr820::ui
