// SPDX-License-Identifier: MIT
#pragma once

class QWidget;

namespace kr820::ui {

// Moves a top-level window so that its frame is centred on its screen's free area (the primary
// screen's before it has one); call it once the window has its size.
void CentreOnScreen(QWidget& window);

}  // namespace kr820::ui
