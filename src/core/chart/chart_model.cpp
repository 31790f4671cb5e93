// SPDX-License-Identifier: MIT
#include "core/chart/chart_model.h"

namespace kr820::core {

ChartModel::ChartModel(QObject* parent) : QObject(parent) {}

void ChartModel::PEactions(ChartAction action) {
    switch (action) {
        case ChartAction::sgResetImage:
        case ChartAction::sgReinitAndReset:
            ++m_redrawGeneration;
            emit redrawRequested(m_redrawGeneration);
            return;
        case ChartAction::sgInvalidateImage:
            emit redrawRequested(m_redrawGeneration);
            return;
        case ChartAction::sgUndoZoom:
        case ChartAction::sgCustomize:
        case ChartAction::sgPrintDialog:
            emit actionRequested(action);
            return;
    }
}

void ChartModel::Redraw() {
    ++m_redrawGeneration;
    emit redrawRequested(m_redrawGeneration);
}

QByteArray ChartModel::SaveToBlock() const { return EncodeChartBlock(m_state); }

ChartLoadResult ChartModel::LoadFromBlock(QByteArrayView block) {
    const ChartLoadResult result = DecodeChartBlock(block, m_state);
    if (result == ChartLoadResult::Loaded) Redraw();
    return result;
}

}  // namespace kr820::core
