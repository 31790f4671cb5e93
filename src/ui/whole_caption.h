// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QWidget;

namespace kr820::ui {

// The width a top-level window needs for `caption` to show whole in its title bar: the text in
// the title font, with room for the window's icon and its buttons.
int WidthForCaption(const QString& caption, const QWidget& window);

// Keeps a window laid out to its content at least as wide as its caption needs, now and after
// every change of caption: a strut in its layout, since a layout that fixes the window's size
// (and a message box's) overrides a plain minimum width.
void KeepCaptionWhole(QWidget& window);

}  // namespace kr820::ui
