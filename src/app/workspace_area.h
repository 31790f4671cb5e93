// SPDX-License-Identifier: MIT
#pragma once

#include <QMdiArea>

namespace kr820::app {

// The main window's workspace. It asks for no more room than a small window's worth, whatever
// its windows' sizes: without scroll bars QMdiArea would ask for its largest window's minimum,
// and the main window would grow beyond the screen to give it.
class WorkspaceArea : public QMdiArea {
    Q_OBJECT

public:
    using QMdiArea::QMdiArea;

    QSize minimumSizeHint() const override;

    // Window > Tile and Window > Cascade: the windows that are not minimised, arranged inside
    // the workspace as it is, none smaller than its own minimum where the room allows.
    void TileInside();
    void CascadeInside();

private:
    // A title bar and a frame: each window's title bar stays in view above the next.
    int CascadeStep() const;
};

}  // namespace kr820::app
