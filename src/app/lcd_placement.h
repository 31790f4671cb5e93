// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QRect>
#include <optional>

class QWidget;
class QWindow;

namespace kr820::app {

// Where the LCD window sits. Until the user moves it, at the bottom-left corner of the workspace
// (above the status bar, its frame counted once the window manager has put one on), following
// the workspace as the main window changes size. Once moved, it stays where the user put it: a
// resize of the main window does not snap it back, and the place is kept for the next run. Only
// a place no screen shows any more gives way to the corner.
class LcdPlacement : public QObject {
public:
    explicit LcdPlacement(QWidget& workspace);

    // A new LCD window, shown or about to be.
    void Follow(QWidget* lcdWindow);
    // The LCD window's place at the workspace's bottom-left, in screen coordinates.
    QPoint BottomLeft() const;
    // The part of the workspace's viewport the LCD window covers, in its coordinates; empty
    // while the window is closed or minimised.
    QRect Covered() const;

    // The frame's top-left where the user put the window; empty while it follows the corner.
    std::optional<QPoint> UserPlace() const { return m_userPlace; }
    // A place the user chose in an earlier run, taken when it is still on a screen.
    void RestoreUserPlace(QPoint place);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    void NoteWhereItIs();

    QWidget& m_workspace;
    QPointer<QWidget> m_lcd;
    QPointer<QWindow> m_handle;
    std::optional<QPoint> m_userPlace;
    std::optional<QPoint> m_placedAt;  // where the program last put the frame
    bool m_placing = false;
    bool m_settled = false;  // on the screen: moves from now on are the user's
    int m_placeAttempts = 0;
};

}  // namespace kr820::app
