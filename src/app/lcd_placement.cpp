// SPDX-License-Identifier: MIT
#include "app/lcd_placement.h"

#include <QEvent>
#include <QWidget>

namespace kr820::app {
namespace {

constexpr int kMargin = 5;

}  // namespace

LcdPlacement::LcdPlacement(QWidget& workspace) : m_workspace(workspace) {
    m_workspace.installEventFilter(this);
}

void LcdPlacement::Follow(QWidget* lcdWindow) {
    if (m_lcd) m_lcd->removeEventFilter(this);
    m_lcd = lcdWindow;
    m_movedByUser = false;
    if (!m_lcd) return;
    m_lcd->installEventFilter(this);
    Place();
}

QPoint LcdPlacement::BottomLeft() const {
    const int frameHeight = m_lcd ? m_lcd->frameGeometry().height() : 0;
    const QPoint inside(kMargin, std::max(0, m_workspace.height() - frameHeight - kMargin));
    return m_workspace.mapToGlobal(inside);
}

void LcdPlacement::Place() {
    if (!m_lcd) return;
    m_placing = true;
    m_lcd->move(BottomLeft());
    m_placing = false;
}

bool LcdPlacement::Inside() const {
    const QRect area(m_workspace.mapToGlobal(QPoint(0, 0)), m_workspace.size());
    return area.contains(m_lcd->frameGeometry());
}

bool LcdPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (m_lcd && watched == m_lcd && event->type() == QEvent::Move && !m_placing &&
        m_lcd->isVisible()) {
        // A move the program did not make; the window manager's first placement of a new
        // window comes before it is visible.
        m_movedByUser = true;
    }
    if (m_lcd && watched == &m_workspace &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move)) {
        if (!m_movedByUser || !Inside()) Place();
    }
    return false;
}

}  // namespace kr820::app
