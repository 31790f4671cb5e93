// SPDX-License-Identifier: MIT
#include <QComboBox>
#include <QLineEdit>

#include "graph/frm_graph.h"

namespace kr820::graph {

ShownStatistics TfrmGraph::StatisticsShown() const {
    return {m_txtStartTime->text(), m_txtSamplingRate->currentText(), m_txtDataNo->text(),
            m_txtT1Max->text(),     m_txtT1Min->text(),               m_txtT1Avg->text(),
            m_txtT2Max->text(),     m_txtT2Min->text(),               m_txtT2Avg->text()};
}

}  // namespace kr820::graph
