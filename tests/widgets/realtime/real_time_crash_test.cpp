// SPDX-License-Identifier: MIT
// A recording that survives a crash: the program killed while it records leaves a store that the
// next start offers and shows; saving or giving the points up removes it; failing to write it
// never stops a fixed-length recording. Recordings of both kinds left are offered one at a time.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QToolButton>
#include <csignal>

#include "core/graph/graph_texts.h"
#include "fast_clock.h"
#include "graph/recording_plot.h"
#include "meter/frm_setup_real_time.h"
#include "meter/real_time_recorder.h"
#include "real_time_rig.h"
#include "store/store_reader.h"
#include "store/stored_recording.h"
#include "unit/link/link_log_capture.h"

namespace kr820::meter {
namespace {

// One point as the killed program printed it.
struct PrintedPoint {
    double time = 0;
    float t1 = 0;
    float t2 = 0;
};

class RealTimeCrashTest : public testing::RealTimeRig {
protected:
    testing::FastClock fast{10};  // the meter search's rests

    std::vector<store::StoredReading> Kept() const {
        std::vector<store::StoredReading> readings;
        QString error;
        auto reader = store::StoreReader::Open(UnsavedStore(), &error);
        if (!reader) return readings;
        reader->ForEach(0, reader->Count(), [&](qint64, const store::StoredReading& r) {
            readings.push_back(r);
            return true;
        });
        return readings;
    }
    // The program gone without closing anything or asking, as a kill leaves it, and started again.
    void CrashAndRestart() {
        window.reset();
        StartProgram(fast);
        if (HasFatalFailure()) return;
        window->MainTimer().stop();
        window->Link().SetWallClock([this] { return clockMs; });
    }
    // Ticks with realistic dates, so that the store holds what a user's would.
    void StartAtToday() {
        StartTicking(fast);
        clockMs = (QDateTime::currentMSecsSinceEpoch() / 1000) * 1000;
    }
    void Record(int points) {
        AnswerSetup("100", 0);
        window->btnRunClick();
        ASSERT_TRUE(window->State().RealTimeRecording);
        for (int i = 0; i < points; ++i) {
            Live(20.0f + static_cast<float>(i), 30.0f - static_cast<float>(i));
            Tick();
        }
    }

    // The program recording on its own as a child process until it is killed, against a meter
    // of its own; returns the points it printed before the kill.
    std::vector<PrintedPoint> RecordInAChildAndKillIt(int atLeast) {
        auto childMeter = testing::StartEmulator();
        emulator::Motion wave;
        wave.wave = true;
        childMeter->SetMotion(wave);
        QProcess child;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("KR820_HOME", home.path());
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        child.setProcessEnvironment(environment);
        child.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        child.start(KR820_RECORDING_CHILD, {testing::PathOf(*childMeter)});
        EXPECT_TRUE(child.waitForStarted(5000));

        std::vector<PrintedPoint> printed;
        QElapsedTimer limit;
        limit.start();
        while (static_cast<int>(printed.size()) < atLeast && limit.elapsed() < 15000 &&
               child.state() == QProcess::Running) {
            if (!child.canReadLine() && !child.waitForReadyRead(200)) continue;
            while (child.canReadLine()) {
                const QList<QByteArray> fields = child.readLine().trimmed().split(' ');
                if (fields.size() == 5 && fields[0] == "point")
                    printed.push_back(
                        {fields[2].toDouble(), fields[3].toFloat(), fields[4].toFloat()});
            }
        }
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished(5000);
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "killed, not ended";
        return printed;
    }
};

TEST_F(RealTimeCrashTest, ARecordingKilledMidwayIsOfferedAndShownWithEveryPointWrittenBefore) {
    const std::vector<PrintedPoint> printed = RecordInAChildAndKillIt(12);
    ASSERT_GE(printed.size(), 12u) << "the child recorded too few points";

    ASSERT_FALSE(UnsavedStore().isEmpty()) << "the kill left no store";
    const std::vector<store::StoredReading> kept = Kept();
    ASSERT_GE(kept.size(), printed.size()) << "every point taken before the kill is in the store";
    for (size_t i = 0; i < printed.size(); ++i) {
        EXPECT_EQ(kept[i].TimeMs, graph::MsOfChartTime(printed[i].time)) << i;
        EXPECT_EQ(kept[i].T1, printed[i].t1) << i;
        EXPECT_EQ(kept[i].T2, printed[i].t2) << i;
    }
    const int n = static_cast<int>(kept.size());
    QString error;
    const qint64 startMs = store::StoreReader::Open(UnsavedStore(), &error)->Header().StartMs;
    const core::TDateTime start = core::ToTDateTime(QDateTime::fromMSecsSinceEpoch(startMs));

    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    StartProgram(fast);
    const QString question =
        kUnsavedRecordingQuestion.arg(n).arg(core::DateTimeText(start, Graph()->Locale()));
    ASSERT_EQ(prompter.questions, QStringList{question});
    EXPECT_TRUE(
        question.startsWith(QStringLiteral("A real-time recording of %1 points from ").arg(n)));

    // Shown as if just stopped, and still unsaved; each point exactly as the chart held it.
    EXPECT_EQ(Data().Points(), n);
    for (size_t i = 0; i < printed.size(); ++i) {
        const int point = static_cast<int>(i);
        EXPECT_EQ(Data().XDataII(0, point), printed[i].time) << i;
        EXPECT_EQ(Data().YData(0, point), printed[i].t1) << i;
        EXPECT_EQ(Data().YData(1, point), printed[i].t2) << i;
    }
    EXPECT_EQ(Box("txtDataNo"), QString::number(n));
    EXPECT_EQ(Box("txtStartTime"), core::DateTimeText(start, Graph()->Locale()));
    EXPECT_FALSE(Box("txtT1Avg").isEmpty());
    EXPECT_FALSE(Box("txtT1Max").isEmpty());
    EXPECT_EQ(Graph()->SamplingRateIndex(), 0);
    EXPECT_TRUE(Graph()->findChild<QToolButton*>("tbntClr")->isEnabled());
    EXPECT_EQ(window->State().RealTimePointCount, n);
    EXPECT_FALSE(window->State().RealTimeRecording);
    EXPECT_TRUE(window->State().RealTimeUnsaved);
    EXPECT_FALSE(UnsavedStore().isEmpty()) << "still unsaved, so still kept";

    // Closing the window asks; "No" gives the points up.
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    Graph()->parentWidget()->close();
    EXPECT_EQ(prompter.questions.last(), "Save Real-Time Graph ?");
    EXPECT_TRUE(UnsavedStores().isEmpty());
}

TEST_F(RealTimeCrashTest, EscapeKeepsItForTheNextStartNoGivesItUpAndAnEmptyOneGoesUnasked) {
    StartAtToday();
    Record(2);
    prompter.confirmAnswer = ui::Prompter::Answer::Cancel;  // Escape
    CrashAndRestart();
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_FALSE(UnsavedStore().isEmpty());
    EXPECT_EQ(window->State().RealTimePointCount, 0);

    prompter.questions.clear();
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    CrashAndRestart();
    EXPECT_EQ(prompter.questions.size(), 1) << "asked again";
    EXPECT_TRUE(UnsavedStores().isEmpty());

    AnswerSetup("100", 0);
    window->btnRunClick();  // not one point taken
    ASSERT_TRUE(window->State().RealTimeRecording);
    prompter.questions.clear();
    CrashAndRestart();
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_TRUE(UnsavedStores().isEmpty());
}

TEST_F(RealTimeCrashTest, ASavedRecordingLeavesNoStoreOnceItHasStopped) {
    StartAtToday();
    Record(3);
    EXPECT_EQ(Kept().size(), 3u) << "each point is in the store as it is taken";

    // Saved while it runs: the points after the save are not in the file.
    prompter.saveFileName = InHome("running.ghf");
    ASSERT_TRUE(window->Files().SaveSingleSet(*Graph()));
    Tick();
    window->btnStopClick();
    EXPECT_EQ(Kept().size(), 4u);

    prompter.saveFileName = InHome("stopped.txt");
    prompter.onDialog = [](QDialog&) { return int(QDialog::Accepted); };  // all points
    ASSERT_TRUE(window->Files().SaveSingleSet(*Graph()));
    EXPECT_TRUE(UnsavedStores().isEmpty());
}

TEST_F(RealTimeCrashTest, NoAtClearRemovesTheStoreAndANewRecordingReplacesIt) {
    StartAtToday();
    Record(2);
    window->btnStopClick();
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    Record(1);  // "There are datas in Real_Time graph": No, and a new recording starts
    EXPECT_EQ(UnsavedStores().size(), 1);
    EXPECT_EQ(Kept().size(), 1u);
    window->btnStopClick();

    Graph()->findChild<QToolButton*>("tbntClr")->click();
    EXPECT_EQ(prompter.questions.last(), "Save Real-Time Graph ?");
    EXPECT_TRUE(UnsavedStores().isEmpty());
}

TEST_F(RealTimeCrashTest, AStoreThatCannotBeMadeNeverStopsTheRecordingAndIsToldOnce) {
    StartAtToday();
    testing::LinkLogCapture log("kr820.realtime");
    // The folder's place is taken by a file, so no store can be made there.
    QFile blocker(QDir(home.path()).filePath("unsaved"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    Record(5);
    window->btnStopClick();

    EXPECT_EQ(window->State().RealTimePointCount, 5) << "the recording went on";
    EXPECT_EQ(Data().Points(), 5);
    EXPECT_TRUE(prompter.messages.isEmpty()) << "not inside the tick";
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(
        "The real-time recording goes on, but it cannot be kept safe against a crash: writing \""))
        << prompter.messages[0].toStdString();
    EXPECT_EQ(log.messages.filter("was not made").size(), 1);
}

TEST_F(RealTimeCrashTest, BothKindsLeftAreOfferedOneAtATimeAndNeitherReplacesTheOtherUnasked) {
    StartAtToday();
    Record(3);  // a fixed-length recording, killed while it runs
    prompter.confirmAnswer = ui::Prompter::Answer::Cancel;
    CrashAndRestart();
    ASSERT_FALSE(HasFatalFailure());
    const QString folder = InHome("stores");
    prompter.onDialog = [folder](QDialog& dialog) {
        auto* setup = qobject_cast<meter::TfrmSetupRealTime*>(&dialog);
        if (!setup) return int(QDialog::Rejected);
        setup->findChild<QCheckBox*>("chkUntilStopped")->setChecked(true);
        setup->findChild<QLineEdit*>("edtStoreFolder")->setText(folder);
        setup->findChild<QComboBox*>("txtRate")->setCurrentIndex(0);
        setup->accept();
        return setup->result();
    };
    QDir().mkpath(folder);
    window->btnRunClick();  // and one until stopped, killed while it runs
    ASSERT_TRUE(window->State().RealTimeRecording);
    ASSERT_NE(Graph()->Recording(), nullptr);
    for (int i = 0; i < 4; ++i) {
        Live(40.0f + float(i), 10.0f);
        Tick();
    }

    prompter.questions.clear();
    // Yes to the first; Yes to the second, which asks about the points shown: No gives them up.
    prompter.confirmAnswers = {ui::Prompter::Answer::Yes, ui::Prompter::Answer::Yes,
                               ui::Prompter::Answer::No};
    CrashAndRestart();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(prompter.questions.size(), 3) << prompter.questions.join('\n').toStdString();
    EXPECT_TRUE(prompter.questions[0].startsWith("A real-time recording of 3 points from "))
        << prompter.questions[0].toStdString();
    EXPECT_TRUE(prompter.questions[1].startsWith("A real-time recording of 4 readings from "))
        << prompter.questions[1].toStdString();
    EXPECT_EQ(prompter.questions[2], kResetQuestion);
    ASSERT_NE(Graph()->Recording(), nullptr) << "the recording until stopped is shown";
    EXPECT_EQ(Graph()->Recording()->Count(), 4);
    EXPECT_TRUE(UnsavedStores().isEmpty()) << "the points shown first were given up";

    // Nothing is left to offer.
    prompter.questions.clear();
    CrashAndRestart();
    EXPECT_TRUE(prompter.questions.isEmpty()) << prompter.questions.join('\n').toStdString();
}

TEST_F(RealTimeCrashTest, AFixedLengthRecordingComesBackWhole) {
    StartAtToday();
    Record(4);
    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    CrashAndRestart();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(Data().Points(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(Data().YData(0, i), 20.0f + float(i)) << i;
        EXPECT_EQ(Data().YData(1, i), 30.0f - float(i)) << i;
    }
    // Taken up again: a second crash offers it again; a save removes it.
    prompter.questions.clear();
    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    CrashAndRestart();
    ASSERT_EQ(prompter.questions.size(), 1);
    prompter.saveFileName = InHome("kept.ghf");
    ASSERT_TRUE(window->Files().SaveSingleSet(*Graph()));
    EXPECT_TRUE(UnsavedStores().isEmpty());
}

}  // namespace
}  // namespace kr820::meter
