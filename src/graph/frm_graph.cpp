// SPDX-License-Identifier: MIT
#include "graph/frm_graph.h"

namespace kr820::graph {

TfrmGraph::TfrmGraph(const QString& caption, QWidget* parent) : QWidget(parent) {
    setObjectName("frmGraph");
    setWindowTitle(caption);
    setAttribute(Qt::WA_DeleteOnClose);
    resize(818, 493);
}

}  // namespace kr820::graph
