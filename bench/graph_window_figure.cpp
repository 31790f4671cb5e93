// SPDX-License-Identifier: MIT
// How long the DataLogger window takes to fill its data list with a full logger memory (one set
// of 33,000 pairs), and to show such a memory image from its bytes. Prints the medians.
// Usage: graph_window_figure [runs, default 25]
#include <QApplication>
#include <QElapsedTimer>
#include <QListView>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "../tests/unit/data/memory_image_builder.h"
#include "core/data/data_set_store.h"
#include "core/documents/data_logger_document.h"
#include "core/state/app_state.h"
#include "fake_prompter.h"
#include "graph/chart_view.h"
#include "graph/data_list_model.h"
#include "graph/frm_graph.h"
#include "graph/graph_context.h"
#include "graph/graph_windows.h"

namespace {

constexpr int kFullMemoryPairs = 33000;

QByteArray FullMemoryImage() {
    kr820::core::testing::TestSet set;
    set.pairs.reserve(kFullMemoryPairs);
    for (int i = 0; i < kFullMemoryPairs; ++i) {
        set.pairs.emplace_back(static_cast<int>(235 + 50 * std::sin(i / 300.0)),
                               i % 1000 == 0 ? 20000 : 180 + i % 40);
    }
    return kr820::core::testing::ImageBuilder().Add(set).Build();
}

template <typename Step>
double MedianMs(int runs, Step step) {
    std::vector<double> times;
    for (int run = 0; run < runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        step();
        times.push_back(timer.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 25;

    const QByteArray image = FullMemoryImage();
    // The window shows the DataLogger document it is given, as the main window gives it.
    kr820::testing::FakePrompter prompter;
    kr820::core::AppState state;
    kr820::graph::SharedGraphTools tools;
    QTemporaryDir home;
    kr820::core::DataLoggerDocument document(home.path());
    const kr820::graph::GraphContext context{prompter, state, tools, QString(), &document};
    std::unique_ptr<kr820::graph::TfrmGraph> owned(kr820::graph::CreateDataLoggerWindow(context));
    kr820::graph::TfrmGraph& window = *owned;
    window.resize(900, 600);
    window.show();
    if (window.ShowMemoryImage(image).Code != kr820::core::ParseCode::Success) {
        std::fprintf(stderr, "the image did not decode\n");
        return 1;
    }
    auto* list = window.findChild<QListView*>(QStringLiteral("dataListView"));

    // Filling and then painting the visible lines, as the user sees it.
    const double fillMs = MedianMs(runs, [&] {
        window.FillDataList();
        list->viewport()->grab();
    });
    const double showMs = MedianMs(runs, [&] {
        window.ShowMemoryImage(image);
        window.View().Flush();
    });

    std::printf("FillDataList, %d lines, list painted: median %.2f ms over %d runs\n",
                window.DataList().rowCount(), fillMs, runs);
    std::printf("Memory image to shown window (decode, grid, chart drawn, list): median %.2f ms\n",
                showMs);
    return 0;
}
