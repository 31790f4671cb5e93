// SPDX-License-Identifier: MIT
#include "graph/graph_windows.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "graph/frm_graph.h"

namespace kr820::graph {

namespace {
constexpr int kWorkspaceWidth = 900;
constexpr int kWorkspaceHeight = 600;
}  // namespace

TfrmGraph* CreateRealTimeGraph(const GraphContext& context) {
    auto* window = new TfrmGraph(GraphRole::RealTime, TfrmGraph::kRealTimeCaption, context);
    window->SetUpRealTime();
    return window;
}

TfrmGraph* CreateDataLoggerWindow(const GraphContext& context) {
    auto* window = new TfrmGraph(GraphRole::DataLogger, TfrmGraph::kDataLoggerCaption, context);
    window->SetUpDataLogger();
    return window;
}

QMdiSubWindow* AddToWorkspace(QMdiArea& workspace, TfrmGraph* window) {
    QMdiSubWindow* frame = workspace.addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    // Its usual size, or the workspace's where that is smaller (a small screen, a large scale):
    // a window larger than the workspace hides its own buttons and lower chart.
    QSize size(kWorkspaceWidth, kWorkspaceHeight);
    // (Not yet on screen, it has no size of its own to go by.)
    if (workspace.isVisible()) size = size.boundedTo(workspace.viewport()->size());
    frame->setGeometry(QRect(QPoint(0, 0), size));
    // Ctrl+F4 is the main window's Window > Close; the frame's own Close keeps Ctrl+W, so that
    // the key is no longer claimed twice (and so taken by neither).
    for (QAction* action : frame->systemMenu()->actions()) {
        if (action->shortcuts().contains(QKeySequence(Qt::CTRL | Qt::Key_F4)))
            action->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_W));
    }
    window->show();
    return frame;
}

void RestoreNormal(TfrmGraph* window) {
    if (!window) return;
    if (auto* frame = qobject_cast<QMdiSubWindow*>(window->parentWidget())) {
        frame->showNormal();
        // Brought back means brought to the front, where the user looks for it.
        if (QMdiArea* workspace = frame->mdiArea()) workspace->setActiveSubWindow(frame);
    } else {
        window->showNormal();
    }
}

}  // namespace kr820::graph
