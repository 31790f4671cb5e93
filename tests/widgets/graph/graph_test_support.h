// SPDX-License-Identifier: MIT
// What the graph window tests share: a context answering through a FakePrompter, a fixed locale,
// memory images and charts built from readable values.
#pragma once

#include <QLocale>
#include <QTemporaryDir>
#include <vector>

#include "core/data/data_set_store.h"
#include "core/documents/data_logger_document.h"
#include "core/state/app_state.h"
#include "core/time/date_time.h"
#include "fake_prompter.h"
#include "graph/graph_context.h"
#include "unit/data/memory_image_builder.h"
#include "unit/graph/graph_test_values.h"

namespace kr820::graph::testing {

using core::testing::At;
using core::testing::FillChart;
using core::testing::FixedLocale;

inline QByteArray TwoSetImage();

// The main window's side of a graph window, recording what the window asked of it.
struct GraphHarness {
    kr820::testing::FakePrompter prompter;
    core::AppState state;
    SharedGraphTools tools;
    QTemporaryDir home;  // the DataLogger document's temporary store
    core::DataLoggerDocument document{home.path()};
    int saves = 0;
    int singleSetSaves = 0;
    int forgotten = 0;
    bool saveSucceeds = true;  // whether the user goes through with the save
    // At "Save DataLogger Data ?": the collection, or (false) the single selected set, which
    // leaves the download unsaved.
    bool savesCollection = true;
    std::vector<bool> ticked;
    int realTimeClosings = 0;  // the recorder asked to end what the closed window recorded
    int pointsGivenUp = 0;     // the recorder asked to give up the real-time points (Clear)

    GraphContext Context(const QString& programFolder = QString()) {
        GraphCommands commands;
        commands.Save1Click = [this](TfrmGraph&) {
            ++saves;
            if (saveSucceeds && savesCollection)
                document.SaveCollection(home.filePath(QStringLiteral("saved.820")));
            return saveSucceeds;
        };
        commands.SaveSingleSet = [this](TfrmGraph&) {
            ++singleSetSaves;
            return saveSucceeds;
        };
        commands.ForgetWindow = [this](TfrmGraph&) { ++forgotten; };
        commands.RealTimeGraphClosed = [this] { ++realTimeClosings; };
        commands.DiscardRealTimePoints = [this] { ++pointsGivenUp; };
        commands.SetRealTimeGraphTicked = [this](bool on) { ticked.push_back(on); };
        return GraphContext{prompter,  state,         tools,   programFolder,
                            &document, FixedLocale(), commands};
    }
    // A download shown and not saved.
    void MarkDataLoggerUnsaved() {
        if (!document.HasImage()) document.Load(TwoSetImage());
        document.MarkUnsaved();
    }
};

// Two sets: 40 pairs at 2 s from 17 May 2024 10:00:00 (T2 over range at pairs 10 to 12), then
// 25 pairs at 10 s in Fahrenheit from 18 May 2024 09:30:00.
inline QByteArray TwoSetImage() {
    core::testing::TestSet first;
    first.rateCode = 1;
    for (int i = 0; i < 40; ++i)
        first.pairs.push_back({200 + i, i >= 10 && i <= 12 ? 20000 : 150 - i});
    core::testing::TestSet second;
    second.when = core::testing::Stamp(24, 5, 18, 9, 30, 0);
    second.rateCode = 3;
    second.flags = 0x40;
    for (int i = 0; i < 25; ++i) second.pairs.push_back({1000, 500 + i});
    return core::testing::ImageBuilder().Add(first).Add(second).Build();
}

}  // namespace kr820::graph::testing
