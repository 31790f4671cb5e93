// SPDX-License-Identifier: MIT
#pragma once

#include <QWidget>

namespace kr820::graph {

// A panel beside the chart that asks for a preferred width, which its layout gives it whenever
// there is room, and gives way down to a least width when its window is made small, so that the
// chart keeps the room it needs to stay readable.
class SidePanel : public QWidget {
public:
    explicit SidePanel(QWidget* parent = nullptr) : QWidget(parent) {}

    void SetWidths(int least, int preferred);
    QSize sizeHint() const override;

private:
    int m_preferredWidth = 0;
};

}  // namespace kr820::graph
