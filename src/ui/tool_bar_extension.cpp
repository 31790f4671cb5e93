// SPDX-License-Identifier: MIT
#include "ui/tool_bar_extension.h"

#include <QToolBar>
#include <QToolButton>

namespace kr820::ui {

void NameToolBarExtension(QToolBar& bar) {
    // Qt's own object name for it; it exists from the bar's creation, shown only when needed.
    for (QToolButton* button :
         bar.findChildren<QToolButton*>(QStringLiteral("qt_toolbar_ext_button"))) {
        button->setAccessibleName(QStringLiteral("More tools"));
        button->setToolTip(QStringLiteral("More tools"));
    }
}

}  // namespace kr820::ui
