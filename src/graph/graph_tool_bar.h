// SPDX-License-Identifier: MIT
#pragma once

class QAction;
class QButtonGroup;
class QCheckBox;
class QPushButton;
class QToolBar;
class QToolButton;
class QWidget;

namespace kr820::graph {

// A graph window's tool bar, left to right, with the controls' initial states. The tools act
// through the window's handlers; building the bar connects nothing.
struct GraphToolBar {
    QToolBar* Bar = nullptr;
    QToolButton* ToolButton1 = nullptr;   // upper statistics panel
    QToolButton* ToolButton2 = nullptr;   // lower statistics panel
    QToolButton* ToolButton4 = nullptr;   // normal pointer
    QToolButton* ToolButton5 = nullptr;   // cross
    QToolButton* ToolButton9 = nullptr;   // text
    QButtonGroup* CursorTools = nullptr;  // 4, 5 and 9: exactly one is down
    // The real-time window's divider and Clear button; hidden elsewhere. A widget on a tool bar
    // is shown and hidden through its action.
    QAction* tbntSep3 = nullptr;
    QToolButton* tbntClr = nullptr;
    QAction* tbntClrAction = nullptr;
    QPushButton* UndoZoom = nullptr;
    QCheckBox* chkSplit = nullptr;
    QPushButton* Button1 = nullptr;  // Graph Option
    QPushButton* btnChangeScale = nullptr;
};

GraphToolBar BuildGraphToolBar(QWidget* parent);

}  // namespace kr820::graph
