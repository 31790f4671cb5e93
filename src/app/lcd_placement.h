// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QPointer>

class QWidget;

namespace kr820::app {

// Keeps the LCD window at the bottom-left corner of the workspace as the user sees it: placed
// there when it is shown, again when the main window's size settles (it is maximised only after
// its first show) unless the user has moved it meanwhile, and brought back inside whenever the
// workspace shrinks away from it.
class LcdPlacement : public QObject {
public:
    explicit LcdPlacement(QWidget& workspace);

    // A new LCD window, shown or about to be.
    void Follow(QWidget* lcdWindow);
    // The LCD window's place at the workspace's bottom-left, in screen coordinates.
    QPoint BottomLeft() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Place();
    bool Inside() const;

    QWidget& m_workspace;
    QPointer<QWidget> m_lcd;
    bool m_movedByUser = false;
    bool m_placing = false;
};

}  // namespace kr820::app
