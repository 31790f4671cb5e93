// SPDX-License-Identifier: MIT
// A real-time recording until stopped, through the main window against the emulator with the
// ticks and their times driven by the test: every reading goes into a store, which the
// Real-Time Graph shows, and a store a crash left is offered at the next start.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>

#include "core/graph/graph_texts.h"
#include "graph/recording_list_model.h"
#include "graph/recording_plot.h"
#include "meter/real_time_recorder.h"
#include "store/store_reader.h"
#include "store/store_writer.h"
#include "store/stored_recording.h"
#include "widgets/realtime/real_time_rig.h"

namespace kr820::testing {
namespace {

class UntilStoppedTest : public RealTimeRig {
protected:
    QString Folder() const { return InHome(QStringLiteral("stores")); }
    QString Marker() const { return InHome(QStringLiteral("RealTimeRecording.store")); }

    void AnswerUntilStopped(int rateIndex) {
        prompter.onDialog = [this, rateIndex](QDialog& dialog) {
            auto* setup = qobject_cast<meter::TfrmSetupRealTime*>(&dialog);
            if (!setup) return int(QDialog::Rejected);
            setup->findChild<QCheckBox*>("chkUntilStopped")->setChecked(true);
            setup->findChild<QLineEdit*>("edtStoreFolder")->setText(Folder());
            setup->findChild<QComboBox*>("txtRate")->setCurrentIndex(rateIndex);
            return int(QDialog::Accepted);
        };
    }
    QStringList Stores() const {
        return QDir(Folder()).entryList({QStringLiteral("*.kr8db")}, QDir::Files);
    }
};

TEST_F(UntilStoppedTest, EveryReadingGoesIntoTheStoreWhichTheGraphShows) {
    StartTicking();
    clockMs = 1'700'000'000'000;
    AnswerUntilStopped(0);  // 00:01
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    ASSERT_TRUE(Graph()->Recording());
    EXPECT_TRUE(QFile::exists(Marker())) << "named while it runs, against a crash";

    // Past any chart of the other mode; the readings vary, one without T2.
    constexpr int kReadings = 2500;
    for (int i = 0; i < kReadings; ++i) {
        Live(20.0f + float(i % 50) / 10.0f, 30.0f, 0, i == 100 ? 0x0100 : 0);
        Tick();
    }
    EXPECT_TRUE(window->State().RealTimeRecording) << "no number of points stops it";
    window->btnStopClick();
    EXPECT_FALSE(window->State().RealTimeRecording);
    EXPECT_FALSE(window->State().RealTimeUnsaved) << "the store is its copy";
    EXPECT_FALSE(QFile::exists(Marker()));

    ASSERT_EQ(Stores().size(), 1);
    QString error;
    auto reader = store::StoreReader::Open(QDir(Folder()).filePath(Stores().front()), &error);
    ASSERT_TRUE(reader) << error.toStdString();
    ASSERT_EQ(reader->Count(), kReadings);
    EXPECT_TRUE(reader->Header().StoppedMs);
    EXPECT_EQ(reader->Header().PointsAsked, std::nullopt);
    const auto hundredth = reader->At(100);
    ASSERT_TRUE(hundredth);
    EXPECT_FLOAT_EQ(hundredth->T1, 20.0f);
    EXPECT_FALSE(hundredth->T2Valid);
    EXPECT_EQ(reader->At(1)->TimeMs - reader->At(0)->TimeMs, 1000);

    // The window reads the store: the list has every reading, the chart what its width draws.
    EXPECT_EQ(Graph()->RecordingList()->rowCount(), kReadings);
    EXPECT_EQ(Box("txtDataNo"), QString::number(kReadings));
    EXPECT_EQ(Box("txtT1Max").left(5), "24.9@");
    EXPECT_LT(Data().Points(), kReadings);
    EXPECT_EQ(Graph()->RecordingList()->Line(100).right(9), "       OL");
}

TEST_F(UntilStoppedTest, ClosingTheGraphEndsTheRecordingAndKeepsTheStore) {
    StartTicking();
    AnswerUntilStopped(0);
    window->btnRunClick();
    for (int i = 0; i < 5; ++i) Tick();
    Graph()->SetCloseAnswered(true);
    Graph()->parentWidget()->close();
    QCoreApplication::processEvents();
    EXPECT_FALSE(window->State().RealTimeRecording);
    ASSERT_EQ(Stores().size(), 1);
    QString error;
    auto reader = store::StoreReader::Open(QDir(Folder()).filePath(Stores().front()), &error);
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Count(), 5);
    EXPECT_TRUE(reader->Header().StoppedMs);
}

TEST_F(UntilStoppedTest, AStoreACrashLeftIsOfferedAndShown) {
    // What a killed recording leaves: a store without its stop, and the marker naming it.
    const QString path = meter::NewStorePath(home.path(), 1'700'000'000'000);
    {
        store::StoreHeader header;
        header.StartMs = 1'700'000'000'000;
        QString error;
        auto writer = store::StoreWriter::Create(path, header, &error);
        ASSERT_TRUE(writer) << error.toStdString();
        for (int i = 0; i < 40; ++i)
            ASSERT_TRUE(writer->Append({header.StartMs + i * 1000, 21.5f, 22.5f}));
        QFile marker(Marker());
        ASSERT_TRUE(marker.open(QIODevice::WriteOnly));
        marker.write(path.toUtf8());
    }
    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    StartTicking();
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_TRUE(
        prompter.questions.front().startsWith("A real-time recording of 40 readings from "));
    ASSERT_TRUE(Graph()->Recording());
    EXPECT_EQ(Graph()->Recording()->Count(), 40);
    EXPECT_EQ(Box("txtT1Avg"), "21.500");
    EXPECT_FALSE(QFile::exists(Marker())) << "asked once";
    EXPECT_TRUE(Graph()->Recording()->Header().StoppedMs) << "stopped at its last reading";
    EXPECT_TRUE(QFile::exists(path)) << "the recording's only copy stays";
}

}  // namespace
}  // namespace kr820::testing
