// SPDX-License-Identifier: MIT
#pragma once

#include <QRect>
#include <QSize>
#include <functional>

class QMdiArea;
class QMdiSubWindow;

namespace kr820::graph {

struct GraphContext;
class TfrmGraph;

// The real-time window, set up (CreateRealTimeGraph): caption "Real-Time Graph", its chart ready
// for 100 points from now, the Clear button shown, the rate back to 2 seconds. Not yet placed or
// shown; the caller keeps the reference and ticks its menu item.
TfrmGraph* CreateRealTimeGraph(const GraphContext& context);

// The DataLogger window, set up: caption "DataLogger", the data-set grid and the data list shown,
// its chart ready for 500 points from now. Not yet placed or shown.
TfrmGraph* CreateDataLoggerWindow(const GraphContext& context);

// Where a new graph window of `usual` size goes in a workspace of `area`: its top-left corner,
// or beside `keepClear` (the part of the workspace the LCD window covers, in workspace
// coordinates; empty when it covers none) where the window fits there whole, so that the LCD,
// which stays on top, hides none of it. No larger than the area.
QRect FirstPlace(QSize area, QSize usual, QRect keepClear);

// Puts a graph window into the workspace at its first place (FirstPlace, 900 x 600 where the
// workspace allows, `keepClear` asked again as the workspace changes size until the user moves
// or sizes the window), and shows it. The frame closes with the window and is deleted then.
QMdiSubWindow* AddToWorkspace(QMdiArea& workspace, TfrmGraph* window,
                              std::function<QRect()> keepClear = {});

// An existing window is brought back to its normal size (a second request for the same window).
void RestoreNormal(TfrmGraph* window);

}  // namespace kr820::graph
