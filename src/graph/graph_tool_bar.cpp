// SPDX-License-Identifier: MIT
#include "graph/graph_tool_bar.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "graph/graph_tool_icons.h"

namespace kr820::graph {

namespace {

QToolButton* AddCheckButton(QToolBar* bar, const char* name, const char* hint, GraphToolIcon icon,
                            bool down) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    button->setIcon(MakeGraphToolIcon(icon));
    button->setCheckable(true);
    button->setChecked(down);
    bar->addWidget(button);
    return button;
}

QPushButton* AddPushButton(QToolBar* bar, const char* name, const char* caption, int width) {
    auto* button = new QPushButton(QString::fromLatin1(caption), bar);
    button->setObjectName(QString::fromLatin1(name));
    // The widths suit the old small font; a caption never gets cut.
    button->setMinimumWidth(width);
    bar->addWidget(button);
    return button;
}

}  // namespace

GraphToolBar BuildGraphToolBar(QWidget* parent) {
    GraphToolBar t;
    t.Bar = new QToolBar(parent);
    t.Bar->setObjectName(QStringLiteral("ToolBar1"));
    t.Bar->setMovable(false);
    t.Bar->setFloatable(false);

    t.ToolButton1 = AddCheckButton(t.Bar, "ToolButton1", "Toggle Statistic 1",
                                   GraphToolIcon::UpperStatistics, true);
    t.ToolButton2 = AddCheckButton(t.Bar, "ToolButton2", "Toggle Statistic 2",
                                   GraphToolIcon::LowerStatistics, true);
    t.Bar->addSeparator();
    t.ToolButton4 =
        AddCheckButton(t.Bar, "ToolButton4", "Normal Cursor", GraphToolIcon::NormalPointer, true);
    t.ToolButton5 =
        AddCheckButton(t.Bar, "ToolButton5", "Draw A Cross On Graph", GraphToolIcon::Cross, false);
    t.ToolButton9 = AddCheckButton(t.Bar, "ToolButton9", "Text", GraphToolIcon::Text, false);
    t.CursorTools = new QButtonGroup(t.Bar);
    t.CursorTools->setExclusive(true);
    for (QToolButton* tool : {t.ToolButton4, t.ToolButton5, t.ToolButton9})
        t.CursorTools->addButton(tool);
    t.Bar->addSeparator();

    t.tbntSep3 = t.Bar->addSeparator();
    t.tbntSep3->setObjectName(QStringLiteral("tbntSep3"));
    t.tbntSep3->setVisible(false);
    t.tbntClr = new QToolButton(t.Bar);
    t.tbntClr->setObjectName(QStringLiteral("tbntClr"));
    t.tbntClr->setToolTip(QStringLiteral("Clear"));
    t.tbntClr->setIcon(MakeGraphToolIcon(GraphToolIcon::Clear));
    t.tbntClrAction = t.Bar->addWidget(t.tbntClr);
    t.tbntClrAction->setVisible(false);

    t.UndoZoom = AddPushButton(t.Bar, "UndoZoom", "Undo Zoom", 75);
    t.UndoZoom->setEnabled(false);
    t.chkSplit = new QCheckBox(QStringLiteral("Split"), t.Bar);
    t.chkSplit->setObjectName(QStringLiteral("chkSplit"));
    t.chkSplit->setChecked(true);
    t.Bar->addWidget(t.chkSplit);
    t.Button1 = AddPushButton(t.Bar, "Button1", "Graph Option", 75);
    t.Button1->setToolTip(QStringLiteral("Graph Customization"));
    t.btnChangeScale = AddPushButton(t.Bar, "btnChangeScale", "Y Axis", 49);
    t.btnChangeScale->setToolTip(
        QStringLiteral("set the maximum and minimum extent of the left y axis."));
    return t;
}

}  // namespace kr820::graph
