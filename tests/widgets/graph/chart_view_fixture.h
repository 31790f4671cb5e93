// SPDX-License-Identifier: MIT
// A chart view on screen showing the program's usual chart: split, 20 points at 2 s, Y from -20
// to 100.
#pragma once

#include <gtest/gtest.h>

#include "core/chart/chart_model.h"
#include "graph/chart_view.h"
#include "graph/configure_graph.h"
#include "graph_test_support.h"

namespace kr820::graph::testing {

inline const core::TDateTime kStart = At(2024, 5, 17, 10, 0, 0);

class ChartViewTest : public ::testing::Test {
protected:
    ChartViewTest() : view(chart) {
        view.resize(800, 500);
        view.show();
        ConfigureGraph(chart, QString(), 2, 20, kStart, kStart + 40 * core::kOneSecond, -20, 100);
        for (int i = 0; i < 20; ++i) {
            for (int subset = 0; subset < 2; ++subset)
                chart.Data().SetXDataII(subset, i, kStart + 2 * i * core::kOneSecond);
            chart.Data().SetYData(0, i, 20.0f + i);
            chart.Data().SetYData(1, i, 60.0f - i);
        }
        chart.Redraw();
        view.Flush();
    }

    const ChartDrawing& Drawing() const { return view.Drawing(); }
    QCPRange XRange(int band) const {
        return Drawing().BandRect(band)->axis(QCPAxis::atBottom)->range();
    }
    QCPRange YRange(int band) const {
        return Drawing().BandRect(band)->axis(QCPAxis::atLeft)->range();
    }
    QPoint PixelOf(int subset, int point) const {
        return Drawing()
            .ValueToPixel(subset, chart.Data().XDataII(subset, point),
                          chart.Data().YData(subset, point))
            .toPoint();
    }

    core::ChartModel chart;
    ChartView view;
};

}  // namespace kr820::graph::testing
