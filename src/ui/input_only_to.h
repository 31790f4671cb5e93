// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace kr820::ui {

// Runs the pending events, as a long file read or write does between its lines, with the user's
// input reaching only `window` (a progress window and its Cancel): a click or a key meant for
// any other window is dropped, so no command can start in the middle of the work. Timers and
// the port's events run as usual, so a recording goes on.
void ProcessEventsWithInputOnlyTo(QWidget* window);

}  // namespace kr820::ui
