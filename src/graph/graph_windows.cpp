// SPDX-License-Identifier: MIT
#include "graph/graph_windows.h"

#include <QAction>
#include <QEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

#include "graph/frm_graph.h"

namespace kr820::graph {

namespace {
constexpr int kWorkspaceWidth = 900;
constexpr int kWorkspaceHeight = 600;

// Keeps a new window at its first place while the workspace takes its size (a main window
// maximised by the window manager after the first windows opened), until the user moves or
// sizes the window.
class FirstPlaceKeeper : public QObject {
public:
    FirstPlaceKeeper(QMdiSubWindow& frame, QWidget& viewport, std::function<QRect()> keepClear)
        : QObject(&frame), m_frame(frame), m_viewport(viewport), m_keepClear(std::move(keepClear)) {
        m_viewport.installEventFilter(this);
        Place();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != &m_viewport || event->type() != QEvent::Resize) return false;
        if (m_frame.geometry() != m_given || m_frame.isMaximized() || m_frame.isMinimized()) {
            m_viewport.removeEventFilter(this);  // the user's place from now on
            return false;
        }
        Place();
        return false;
    }

private:
    void Place() {
        const QSize area =
            m_viewport.isVisible() ? m_viewport.size() : QSize(kWorkspaceWidth, kWorkspaceHeight);
        m_given = FirstPlace(area, QSize(kWorkspaceWidth, kWorkspaceHeight), m_keepClear());
        m_frame.setGeometry(m_given);
    }

    QMdiSubWindow& m_frame;
    QWidget& m_viewport;
    std::function<QRect()> m_keepClear;
    QRect m_given;
};

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

QRect FirstPlace(QSize area, QSize usual, QRect keepClear) {
    // Its usual size, or the workspace's where that is smaller (a small screen, a large scale):
    // a window larger than the workspace hides its own buttons and lower chart.
    const QSize size = usual.boundedTo(area);
    const QRect corner(QPoint(0, 0), size);
    const QRect clear = keepClear.intersected(QRect(QPoint(0, 0), area));
    if (clear.isEmpty() || !corner.intersects(clear)) return corner;
    // Right of the LCD where the window fits there; otherwise it stays in the corner at its
    // size: a window squeezed above the LCD to a strip would be worse than one partly covered.
    if (clear.right() + 1 + size.width() <= area.width())
        return QRect(QPoint(clear.right() + 1, 0), size);
    return corner;
}

QMdiSubWindow* AddToWorkspace(QMdiArea& workspace, TfrmGraph* window,
                              std::function<QRect()> keepClear) {
    QMdiSubWindow* frame = workspace.addSubWindow(window);
    frame->setAttribute(Qt::WA_DeleteOnClose);
    if (!keepClear) keepClear = [] { return QRect(); };
    new FirstPlaceKeeper(*frame, *workspace.viewport(), std::move(keepClear));
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
