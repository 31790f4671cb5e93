// SPDX-License-Identifier: MIT
// What the tests of recordings in their stores share: a store of made-up readings and a graph
// window shown at a known size.
#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <cmath>
#include <memory>
#include <vector>

#include "graph/chart_view.h"
#include "graph/frm_graph.h"
#include "store/store_writer.h"
#include "store/stored_recording.h"

namespace kr820::testing {

inline constexpr qint64 kRecordingStartMs = 1'700'000'000'000;

// Reading `i` of a recording at one a second: a slow wave on T1, a saw on T2, now and then a
// channel without a value.
inline store::StoredReading WaveReading(qint64 i) {
    store::StoredReading r;
    r.TimeMs = kRecordingStartMs + i * 1000;
    r.T1 = float(20.0 + 10.0 * std::sin(double(i) / 500.0));
    r.T2 = float(-5.0 + 0.1 * double(i % 997));
    r.T1Valid = i % 1013 != 5;
    r.T2Valid = i % 2029 != 7;
    return r;
}

class RecordingFixture : public ::testing::Test {
protected:
    QString StorePath() const { return dir.filePath(QStringLiteral("recording.kr8db")); }

    std::unique_ptr<store::StoreWriter> MakeStore(qint64 readings) {
        store::StoreHeader header;
        header.StartMs = kRecordingStartMs;
        header.RateSeconds = 1;
        QString error;
        auto writer = store::StoreWriter::Create(StorePath(), header, &error);
        EXPECT_TRUE(writer) << error.toStdString();
        if (!writer) return nullptr;
        constexpr qint64 kBatch = 10'000;
        std::vector<store::StoredReading> batch;
        for (qint64 i = 0; i < readings; i += kBatch) {
            batch.clear();
            for (qint64 j = i; j < std::min(readings, i + kBatch); ++j)
                batch.push_back(WaveReading(j));
            EXPECT_TRUE(writer->AppendMany(batch));
        }
        return writer;
    }

    std::shared_ptr<store::StoredRecording> OpenRecording() {
        QString error;
        auto recording = store::StoredRecording::Open(StorePath(), &error);
        EXPECT_TRUE(recording) << error.toStdString();
        return recording;
    }

    // A file window of 900 x 600 showing the recording, drawn.
    void ShowInWindow(std::shared_ptr<store::StoredRecording> recording) {
        window = std::make_unique<graph::TfrmGraph>(graph::GraphRole::File,
                                                    QStringLiteral("recording.kr8db"));
        window->resize(900, 600);
        window->show();
        window->PrepareSingleSetWindow();
        window->ShowRecording(std::move(recording));
        Settle();
    }

    // Until the chart is planned for what it shows and drawn.
    void Settle() {
        for (int i = 0; i < 20; ++i) {
            QCoreApplication::processEvents();
            window->View().Flush();
        }
    }

    int PlotWidth() const { return window->View().Drawing().PlottingRect().width(); }
    QString Box(const char* name) const {
        auto* box = window->findChild<QLineEdit*>(name);
        return box ? box->text() : QStringLiteral("<missing>");
    }

    QTemporaryDir dir;
    std::unique_ptr<graph::TfrmGraph> window;
};

}  // namespace kr820::testing
