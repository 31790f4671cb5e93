// SPDX-License-Identifier: MIT
#pragma once

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

// Puts a graph window into the workspace at its top-left corner, 900 x 600, and shows it. The
// frame closes with the window and is deleted then.
QMdiSubWindow* AddToWorkspace(QMdiArea& workspace, TfrmGraph* window);

// An existing window is brought back to its normal size (a second request for the same window).
void RestoreNormal(TfrmGraph* window);

}  // namespace kr820::graph
