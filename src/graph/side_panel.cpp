// SPDX-License-Identifier: MIT
#include "graph/side_panel.h"

#include <algorithm>

namespace kr820::graph {

void SidePanel::SetWidths(int least, int preferred) {
    setMinimumWidth(least);
    m_preferredWidth = std::max(least, preferred);
    updateGeometry();
}

QSize SidePanel::sizeHint() const { return {m_preferredWidth, QWidget::sizeHint().height()}; }

}  // namespace kr820::graph
