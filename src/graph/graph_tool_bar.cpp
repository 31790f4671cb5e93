// SPDX-License-Identifier: MIT
#include "graph/graph_tool_bar.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>

#include "graph/graph_tool_icons.h"
#include "ui/tool_bar_extension.h"

namespace kr820::graph {

namespace {

QToolButton* AddCheckButton(QToolBar* bar, const char* name, const char* hint, GraphToolIcon icon,
                            bool down) {
    auto* button = new QToolButton(bar);
    button->setObjectName(QString::fromLatin1(name));
    button->setToolTip(QString::fromLatin1(hint));
    // A picture says nothing to a screen reader: the hint is the button's name.
    button->setAccessibleName(QString::fromLatin1(hint));
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
    t.Bar->setObjectName(QStringLiteral("graphToolBar"));
    t.Bar->setMovable(false);
    t.Bar->setFloatable(false);
    ui::NameToolBarExtension(*t.Bar);

    t.upperStatisticsButton = AddCheckButton(t.Bar, "upperStatisticsButton", "Toggle Statistic 1",
                                             GraphToolIcon::UpperStatistics, true);
    t.lowerStatisticsButton = AddCheckButton(t.Bar, "lowerStatisticsButton", "Toggle Statistic 2",
                                             GraphToolIcon::LowerStatistics, true);
    t.Bar->addSeparator();
    t.normalTool =
        AddCheckButton(t.Bar, "normalTool", "Normal Cursor", GraphToolIcon::NormalPointer, true);
    t.crossTool =
        AddCheckButton(t.Bar, "crossTool", "Draw A Cross On Graph", GraphToolIcon::Cross, false);
    t.textTool = AddCheckButton(t.Bar, "textTool", "Text", GraphToolIcon::Text, false);
    t.CursorTools = new QButtonGroup(t.Bar);
    t.CursorTools->setExclusive(true);
    for (QToolButton* tool : {t.normalTool, t.crossTool, t.textTool})
        t.CursorTools->addButton(tool);
    t.Bar->addSeparator();

    t.tbntSep3 = t.Bar->addSeparator();
    t.tbntSep3->setObjectName(QStringLiteral("tbntSep3"));
    t.tbntSep3->setVisible(false);
    t.tbntClr = new QToolButton(t.Bar);
    t.tbntClr->setObjectName(QStringLiteral("tbntClr"));
    t.tbntClr->setToolTip(QStringLiteral("Clear"));
    t.tbntClr->setAccessibleName(QStringLiteral("Clear"));
    t.tbntClr->setIcon(MakeGraphToolIcon(GraphToolIcon::Clear));
    t.tbntClrAction = t.Bar->addWidget(t.tbntClr);
    t.tbntClrAction->setVisible(false);

    t.UndoZoom = AddPushButton(t.Bar, "UndoZoom", "Undo Zoom", 75);
    t.UndoZoom->setEnabled(false);
    t.chkSplit = new QCheckBox(QStringLiteral("Split"), t.Bar);
    t.chkSplit->setObjectName(QStringLiteral("chkSplit"));
    t.chkSplit->setChecked(true);
    t.Bar->addWidget(t.chkSplit);
    t.graphOptionButton = AddPushButton(t.Bar, "graphOptionButton", "Graph Option", 75);
    t.graphOptionButton->setToolTip(QStringLiteral("Graph Customization"));
    t.btnChangeScale = AddPushButton(t.Bar, "btnChangeScale", "Y Axis", 49);
    t.btnChangeScale->setToolTip(
        QStringLiteral("set the maximum and minimum extent of the left y axis."));
    t.fitButton = AddPushButton(t.Bar, "fitButton", "Fit", 49);
    t.fitButton->setToolTip(QStringLiteral("Fit the Y axes to the data shown"));
    return t;
}

}  // namespace kr820::graph
