// SPDX-License-Identifier: MIT
#include "app/lcd_placement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace kr820::app {
namespace {

constexpr int kMargin = 5;

// Enough of the window's top-left part on a screen for the user to take it by its title bar.
bool OnAScreen(QPoint frameTopLeft) {
    const QRect grip(frameTopLeft, QSize(60, 20));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen->availableGeometry().contains(grip)) return true;
    return false;
}

}  // namespace

LcdPlacement::LcdPlacement(QWidget& workspace) : m_workspace(workspace) {
    m_workspace.installEventFilter(this);
}

void LcdPlacement::Follow(QWidget* lcdWindow) {
    if (m_lcd) m_lcd->removeEventFilter(this);
    m_lcd = lcdWindow;
    m_placedAt.reset();
    if (!m_lcd) return;
    m_lcd->installEventFilter(this);
    Place();
}

void LcdPlacement::RestoreUserPlace(QPoint place) {
    if (!OnAScreen(place)) return;
    m_userPlace = place;
    Place();
}

QPoint LcdPlacement::BottomLeft() const {
    const int frameHeight = m_lcd ? m_lcd->frameGeometry().height() : 0;
    const QPoint inside(kMargin, std::max(0, m_workspace.height() - frameHeight - kMargin));
    return m_workspace.mapToGlobal(inside);
}

void LcdPlacement::Place() {
    if (!m_lcd) return;
    if (m_userPlace && !OnAScreen(*m_userPlace)) m_userPlace.reset();
    const QPoint target = m_userPlace.value_or(BottomLeft());
    m_placing = true;
    m_placedAt = target;
    if (m_lcd->frameGeometry().topLeft() != target) m_lcd->move(target);
    m_placing = false;
}

// The window moved or its frame changed. A place other than the one the program gave it is the
// user's (the window manager's first placement of a new window comes before it is visible).
void LcdPlacement::NoteWhereItIs() {
    if (m_placing || !m_lcd->isVisible()) return;
    const QPoint now = m_lcd->frameGeometry().topLeft();
    if (m_placedAt && now != *m_placedAt) {
        m_userPlace = now;
        m_placedAt = now;
        return;
    }
    // A frame put on after the first placement makes the window taller: the corner moves up.
    if (!m_userPlace && BottomLeft() != now) Place();
}

bool LcdPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (!m_lcd) return false;
    if (watched == m_lcd && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        NoteWhereItIs();
    if (watched == &m_workspace &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move) && !m_userPlace)
        Place();
    return false;
}

}  // namespace kr820::app
