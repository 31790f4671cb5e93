// SPDX-License-Identifier: MIT
#pragma once

class QDialog;

namespace kr820::ui {

// Puts a dialog's fields (everything in its top box layout but its foot of buttons) into a scroll
// area that asks for no more room than the dialog's screen has, so that a large font or a small
// screen (200 % on 1366x768) never leaves a field or a button out of reach. Where everything
// fits, nothing shows of it. Called at the end of the constructor, once the layout is complete;
// a dialog whose top layout is no box layout is left as it is.
void ScrollWhenLargerThanScreen(QDialog& dialog);

}  // namespace kr820::ui
