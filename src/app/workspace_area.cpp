// SPDX-License-Identifier: MIT
#include "app/workspace_area.h"

#include <QMdiSubWindow>
#include <QStyle>

#include "app/window_arrangement.h"

namespace kr820::app {
namespace {

constexpr QSize kLeastWorkspace(200, 100);

QList<QMdiSubWindow*> ArrangedWindows(const QMdiArea& area) {
    QList<QMdiSubWindow*> windows;
    for (QMdiSubWindow* window : area.subWindowList(QMdiArea::CreationOrder)) {
        if (window->isVisible() && !window->isMinimized()) windows << window;
    }
    return windows;
}

QSize LargestMinimum(const QList<QMdiSubWindow*>& windows) {
    QSize largest;
    for (const QMdiSubWindow* window : windows) {
        largest = largest.expandedTo(window->minimumSizeHint()).expandedTo(window->minimumSize());
    }
    return largest;
}

void Place(const QList<QMdiSubWindow*>& windows, const std::vector<QRect>& places) {
    for (qsizetype i = 0; i < windows.size() && i < qsizetype(places.size()); ++i) {
        if (windows[i]->isMaximized()) windows[i]->showNormal();
        windows[i]->setGeometry(places[static_cast<size_t>(i)]);
    }
}

}  // namespace

QSize WorkspaceArea::minimumSizeHint() const { return kLeastWorkspace; }

void WorkspaceArea::TileInside() {
    const QList<QMdiSubWindow*> windows = ArrangedWindows(*this);
    Place(windows, TiledPlaces(viewport()->size(), int(windows.size()), LargestMinimum(windows),
                               CascadeStep()));
}

void WorkspaceArea::CascadeInside() {
    const QList<QMdiSubWindow*> windows = ArrangedWindows(*this);
    Place(windows, CascadedPlaces(viewport()->size(), int(windows.size()), LargestMinimum(windows),
                                  CascadeStep()));
}

int WorkspaceArea::CascadeStep() const {
    return style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this) +
           style()->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, this);
}

}  // namespace kr820::app
