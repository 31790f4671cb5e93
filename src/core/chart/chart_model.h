// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QObject>

#include "core/chart/chart_block.h"
#include "core/chart/chart_state.h"

namespace kr820::core {

// A graph window's chart: the model the graph code writes through the chart interface's names,
// and the view draws. Writes are silent; the view brings itself up to date only when the program
// asks for a redraw, so laying thousands of points costs no drawing until the redraw.
class ChartModel : public QObject {
    Q_OBJECT

public:
    explicit ChartModel(QObject* parent = nullptr);

    ChartData& Data() { return m_state.Data; }
    const ChartData& Data() const { return m_state.Data; }
    ChartSettings& Settings() { return m_state.Settings; }
    const ChartSettings& Settings() const { return m_state.Settings; }
    ChartAxes& Axes() { return m_state.Axes; }
    const ChartAxes& Axes() const { return m_state.Axes; }
    ChartAnnotations& Annotations() { return m_state.Annotations; }
    const ChartAnnotations& Annotations() const { return m_state.Annotations; }
    const ChartState& State() const { return m_state; }

    // The program's requests. sgResetImage and sgReinitAndReset ask for the picture to be rebuilt
    // from the model (a new redraw generation); sgInvalidateImage only asks for a repaint. The
    // other actions are the view's business and are passed on as actionRequested.
    void PEactions(ChartAction action);
    // The usual redraw: reset then invalidate, as one request.
    void Redraw();
    // Counts rebuild requests; a view that drew generation g is up to date while this is g.
    quint64 RedrawGeneration() const { return m_redrawGeneration; }

    // The graph file's content (behind its length prefix).
    QByteArray SaveToBlock() const;
    // Replaces the whole chart and requests a redraw; a refused block changes nothing.
    ChartLoadResult LoadFromBlock(QByteArrayView block);

signals:
    // Connect directly: the view should schedule its update (coalescing repeated requests).
    void redrawRequested(quint64 generation);
    // sgUndoZoom, sgCustomize, sgPrintDialog. The dialogs are modal, and the program reads the
    // chart right after asking for them, so the view must handle this in a direct connection.
    void actionRequested(kr820::core::ChartAction action);

private:
    ChartState m_state;
    quint64 m_redrawGeneration = 0;
};

}  // namespace kr820::core
