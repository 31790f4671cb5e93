// SPDX-License-Identifier: MIT
#include "app/lcd_placement.h"

#include <QAbstractScrollArea>
#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace kr820::app {
namespace {

constexpr int kMargin = 5;
constexpr int kMostPlaceAttempts = 5;

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
    // The workspace hears nothing when the main window moves (maximising it moves it, too).
    if (m_workspace.window() != &m_workspace) m_workspace.window()->installEventFilter(this);
}

void LcdPlacement::Follow(QWidget* lcdWindow) {
    if (m_lcd) m_lcd->removeEventFilter(this);
    m_lcd = lcdWindow;
    m_placedAt.reset();
    m_settled = false;
    m_placeAttempts = 0;
    if (!m_lcd) return;
    m_lcd->installEventFilter(this);
    if (m_handle) m_handle->removeEventFilter(this);
    m_handle = m_lcd->windowHandle();  // the window shown on the screen, which hears its exposure
    if (m_handle) m_handle->installEventFilter(this);
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

QRect LcdPlacement::Covered() const {
    if (!m_lcd || !m_lcd->isVisible() || m_lcd->isMinimized()) return {};
    const QWidget* area = &m_workspace;
    if (const auto* scrolled = qobject_cast<const QAbstractScrollArea*>(&m_workspace))
        area = scrolled->viewport();
    const QRect frame = m_lcd->frameGeometry();
    const QRect inArea(area->mapFromGlobal(frame.topLeft()), frame.size());
    return inArea.intersected(area->rect());
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
// user's once the window is on the screen: before that, a window manager placing the new window
// by its own rules is asked again (a few times) for the program's place.
void LcdPlacement::NoteWhereItIs() {
    if (m_placing || !m_lcd->isVisible()) return;
    const QPoint now = m_lcd->frameGeometry().topLeft();
    if (!m_settled) {
        if (m_placedAt && now != *m_placedAt && ++m_placeAttempts <= kMostPlaceAttempts) Place();
        return;
    }
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
    if (watched == m_handle && event->type() == QEvent::Expose && m_handle->isExposed())
        m_settled = true;
    if (watched == m_lcd && (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        NoteWhereItIs();
    if ((watched == &m_workspace || watched == m_workspace.window()) &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move) && !m_userPlace)
        Place();
    return false;
}

}  // namespace kr820::app
