// SPDX-License-Identifier: MIT
// A graph window's least size, which the workspace's Tile and Cascade read from its frame: the
// chart stays readable at it, and the window still opens at its full default size.
#include <gtest/gtest.h>

#include <QFontMetrics>
#include <QHeaderView>
#include <QListView>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTableView>
#include <memory>

#include "graph/chart_view.h"
#include "graph/data_list_model.h"
#include "graph/data_set_grid_model.h"
#include "graph/frm_graph.h"
#include "graph/graph_windows.h"
#include "graph_test_support.h"

namespace kr820::graph {
namespace {

// The ink of every tick label of an axis, drawn centred on its tick.
std::vector<QRectF> TickLabelBoxes(const QCPAxis& axis) {
    const QFontMetricsF metrics(axis.tickLabelFont());
    std::vector<QRectF> boxes;
    const QVector<double> ticks = axis.tickVector();
    const QVector<QString> labels = axis.tickVectorLabels();
    for (qsizetype i = 0; i < ticks.size(); ++i) {
        if (!axis.range().contains(ticks[i])) continue;
        QRectF box;
        for (const QString& line : labels[i].split(u'\n')) {
            const QRectF ink = metrics.tightBoundingRect(line);
            box = box.united(QRectF(0, 0, ink.width(), ink.height()));
        }
        const double at = axis.coordToPixel(ticks[i]);
        box.moveCenter(axis.orientation() == Qt::Horizontal ? QPointF(at, 0) : QPointF(0, at));
        boxes.push_back(box);
    }
    return boxes;
}

// How many neighbouring labels run into each other along the axis.
int Collisions(const QCPAxis& axis) {
    const std::vector<QRectF> boxes = TickLabelBoxes(axis);
    int collisions = 0;
    for (std::size_t i = 1; i < boxes.size(); ++i) {
        const bool horizontal = axis.orientation() == Qt::Horizontal;
        const double gap = horizontal ? std::abs(boxes[i].center().x() - boxes[i - 1].center().x())
                                      : std::abs(boxes[i].center().y() - boxes[i - 1].center().y());
        const double needed = horizontal ? (boxes[i].width() + boxes[i - 1].width()) / 2
                                         : (boxes[i].height() + boxes[i - 1].height()) / 2;
        if (gap < needed) ++collisions;
    }
    return collisions;
}

class GraphWindowSizeTest : public ::testing::Test {
protected:
    GraphWindowSizeTest() {
        workspace.resize(1280, 720);
        workspace.show();
    }

    // The window at its frame's least size, drawn.
    QMdiSubWindow* AtLeastSize(TfrmGraph* window) {
        QMdiSubWindow* frame = AddToWorkspace(workspace, window);
        window->View().Flush();
        QCoreApplication::processEvents();  // the layouts hear of the chart's least size
        frame->resize(frame->minimumSizeHint());
        QCoreApplication::processEvents();
        window->View().Flush();
        return frame;
    }

    void ExpectReadable(TfrmGraph& window) {
        const ChartDrawing& drawing = window.View().Drawing();
        ASSERT_EQ(drawing.BandCount(), 2);
        const QRect top = drawing.BandRect(0)->rect();
        const QRect bottom = drawing.BandRect(1)->rect();
        EXPECT_LT(top.bottom(), bottom.top());
        for (int band = 0; band < 2; ++band) {
            const QCPAxis& values = *drawing.BandRect(band)->axis(QCPAxis::atLeft);
            EXPECT_GE(values.tickVector().size(), 3) << "band " << band;
            EXPECT_EQ(Collisions(values), 0) << "band " << band;
            // "T1" and "T2" run along their own bands.
            EXPECT_LE(QFontMetrics(values.labelFont()).horizontalAdvance(values.label()),
                      drawing.BandRect(band)->rect().height());
        }
        const QCPAxis& time = *drawing.BandRect(1)->axis(QCPAxis::atBottom);
        EXPECT_GE(time.tickVector().size(), 2);
        EXPECT_EQ(Collisions(time), 0);
        // Nothing of the chart is cut off at the bottom.
        EXPECT_GE(window.View().height(),
                  static_cast<QWidget&>(window.View()).minimumSizeHint().height());
    }

    testing::GraphHarness harness;
    QMdiArea workspace;
};

TEST_F(GraphWindowSizeTest, TheChartStaysReadableAtTheWindowsLeastSizeInEveryRole) {
    TfrmGraph* dataLogger = CreateDataLoggerWindow(harness.Context());
    dataLogger->ShowMemoryImage(testing::TwoSetImage());
    for (TfrmGraph* window : {CreateRealTimeGraph(harness.Context()), dataLogger}) {
        SCOPED_TRACE(window->windowTitle().toStdString());
        QMdiSubWindow* frame = AtLeastSize(window);
        // Smaller than the size it opens at, so that Tile and Cascade can fit more windows.
        EXPECT_LT(frame->width(), 900);
        EXPECT_LT(frame->height(), 600);
        ExpectReadable(*window);

        // A range whose value ticks come closest together: eight labels in a band.
        for (int axis = 0; axis < 2; ++axis) {
            window->Chart().Axes().SetWorkingAxis(axis);
            window->Chart().Axes().SetManualMinY(0);
            window->Chart().Axes().SetManualMaxY(74);
        }
        window->Chart().Redraw();
        window->View().Flush();
        const QCPAxis* values = window->View().Drawing().BandRect(0)->axis(QCPAxis::atLeft);
        EXPECT_EQ(values->tickVector().size(), 8);
        ExpectReadable(*window);
        frame->close();
    }
}

TEST_F(GraphWindowSizeTest, AtTheDefaultSizeListLinesAndGridColumnsShowWhole) {
    TfrmGraph* window = CreateDataLoggerWindow(harness.Context());
    window->ShowMemoryImage(testing::TwoSetImage());
    QMdiSubWindow* frame = AddToWorkspace(workspace, window);
    QCoreApplication::processEvents();
    ASSERT_EQ(frame->size(), QSize(900, 600));
    const auto* list = window->findChild<QListView*>("dataListView");
    const int lineWidth = QFontMetrics(list->font()).horizontalAdvance(window->DataList().Line(0));
    EXPECT_GE(list->viewport()->width(), lineWidth);

    const auto* grid = window->findChild<QTableView*>("dataSetGrid");
    const QHeaderView* header = grid->horizontalHeader();
    const QFontMetrics metrics(grid->font());
    for (int column = 0; column < window->DataSets().columnCount(); ++column) {
        SCOPED_TRACE(column);
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column));
        for (int row = 0; row < window->DataSets().rowCount(); ++row) {
            EXPECT_GT(header->sectionSize(column),
                      metrics.horizontalAdvance(window->DataSets().Cell(row, column)));
        }
    }
    EXPECT_LE(header->length(), grid->viewport()->width()) << "the last column is cut";
}

}  // namespace
}  // namespace kr820::graph
