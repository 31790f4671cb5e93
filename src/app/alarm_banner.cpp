// SPDX-License-Identifier: MIT
#include "app/alarm_banner.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace kr820::app {

AlarmBanner::AlarmBanner(QWidget* parent) : QFrame(parent) {
    setObjectName("AlarmBanner");
    setAutoFillBackground(true);
    // Red whatever the desktop's theme: this is what the user must not miss.
    setStyleSheet(
        QStringLiteral("#AlarmBanner { background: #c00000; }"
                       "#AlarmBanner QLabel { color: white; font-weight: bold; }"));
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(8, 4, 8, 4);
    m_text = new QLabel(this);
    m_text->setObjectName("lblAlarms");
    m_text->setTextFormat(Qt::PlainText);
    m_text->setWordWrap(true);
    m_acknowledge = new QPushButton(tr("&Acknowledge"), this);
    m_acknowledge->setObjectName("btnAcknowledge");
    // At the left: desktop notifications gather at the screen's right edge, over the program.
    layout->addWidget(m_acknowledge, 0, Qt::AlignVCenter);
    layout->addWidget(m_text, 1);
    connect(m_acknowledge, &QPushButton::clicked, this, &AlarmBanner::acknowledged);
    setAccessibleName(tr("Alarms"));
    hide();
}

void AlarmBanner::ShowLines(const QStringList& lines) {
    m_text->setText(lines.join(u'\n'));
    setVisible(!lines.isEmpty());
}

QString AlarmBanner::Text() const { return m_text->text(); }

}  // namespace kr820::app
