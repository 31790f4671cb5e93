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
    // Show and hide the statistics panels above and below the chart.
    QToolButton* upperStatisticsButton = nullptr;
    QToolButton* lowerStatisticsButton = nullptr;
    // What a click on the chart does: read values and zoom, place a cross, place a text.
    QToolButton* normalTool = nullptr;
    QToolButton* crossTool = nullptr;
    QToolButton* textTool = nullptr;
    QButtonGroup* CursorTools = nullptr;  // the three tools: exactly one is down
    // The real-time window's divider and Clear button; hidden elsewhere. A widget on a tool bar
    // is shown and hidden through its action.
    QAction* tbntSep3 = nullptr;
    QToolButton* tbntClr = nullptr;
    QAction* tbntClrAction = nullptr;
    QPushButton* UndoZoom = nullptr;
    QCheckBox* chkSplit = nullptr;
    QPushButton* graphOptionButton = nullptr;
    QPushButton* btnChangeScale = nullptr;
    // Both Y axes to the range of the data shown.
    QPushButton* fitButton = nullptr;
};

GraphToolBar BuildGraphToolBar(QWidget* parent);

}  // namespace kr820::graph
