// SPDX-License-Identifier: MIT
#pragma once

class QToolBar;

namespace kr820::ui {

// The button a tool bar shows for the tools that do not fit has a picture and no name: give it
// one, so that a screen reader can say what it opens.
void NameToolBarExtension(QToolBar& bar);

}  // namespace kr820::ui
