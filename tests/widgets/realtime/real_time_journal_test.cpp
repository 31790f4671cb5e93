// SPDX-License-Identifier: MIT
// A recording that survives a crash: the program killed while it records leaves a journal that
// the next start offers and shows; saving or giving the points up removes it; failing to write it
// never stops the recording.
#include <gtest/gtest.h>

#include <sys/resource.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QToolButton>
#include <csignal>

#include "core/graph/graph_texts.h"
#include "fast_clock.h"
#include "core/realtime/real_time_journal_file.h"
#include "meter/real_time_recorder.h"
#include "real_time_rig.h"
#include "unit/link/link_log_capture.h"

namespace kr820::meter {
namespace {

// One point as the killed program printed it.
struct PrintedPoint {
    double time = 0;
    float t1 = 0;
    float t2 = 0;
};

class RealTimeJournalTest : public testing::RealTimeRig {
protected:
    testing::FastClock fast{10};  // the meter search's rests

    QString JournalPath() const { return core::RealTimeJournalPath(home.path()); }
    std::optional<core::RealTimeJournal> Journal() const {
        return core::ReadRealTimeJournal(JournalPath());
    }
    // Ticks with realistic dates, so that the journal holds what a user's would.
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
                    printed.push_back({fields[2].toDouble(), fields[3].toFloat(),
                                       fields[4].toFloat()});
            }
        }
        ::kill(static_cast<pid_t>(child.processId()), SIGKILL);
        child.waitForFinished(5000);
        EXPECT_EQ(child.exitStatus(), QProcess::CrashExit) << "killed, not ended";
        return printed;
    }
};

TEST_F(RealTimeJournalTest, ARecordingKilledMidwayIsOfferedAndShownWithEveryPointWrittenBefore) {
    const std::vector<PrintedPoint> printed = RecordInAChildAndKillIt(12);
    ASSERT_GE(printed.size(), 12u) << "the child recorded too few points";

    const auto journal = Journal();
    ASSERT_TRUE(journal) << "the kill left no readable journal";
    EXPECT_FALSE(journal->Stopped);
    ASSERT_GE(journal->Points.size(), printed.size())
        << "every point taken before the kill is in the journal";
    for (size_t i = 0; i < printed.size(); ++i) {
        const core::RealTimeJournalPoint& kept = journal->Points[i];
        EXPECT_EQ(kept.Time, printed[i].time) << i;
        EXPECT_EQ(kept.Sample.ChartT1(), printed[i].t1) << i;
        EXPECT_EQ(kept.Sample.ChartT2(), printed[i].t2) << i;
    }
    // The power went while the next point was half written.
    {
        QFile file(JournalPath());
        ASSERT_TRUE(file.open(QIODevice::Append));
        file.write(core::EncodeJournalPoint(journal->Points.back()).left(9));
    }
    const int n = static_cast<int>(journal->Points.size());

    prompter.confirmAnswer = ui::Prompter::Answer::Yes;
    StartProgram(fast);
    const QString question = kUnsavedRecordingQuestion.arg(n).arg(
        core::DateTimeText(journal->Start.Start, Graph()->Locale()));
    ASSERT_EQ(prompter.questions, QStringList{question});
    EXPECT_TRUE(question.startsWith(QStringLiteral("A real-time recording of %1 points from ").arg(n)));

    // Shown as if just stopped, and still unsaved.
    EXPECT_EQ(Data().Points(), n);
    for (int i = 0; i < n; ++i) {
        const core::RealTimeJournalPoint& kept = journal->Points[static_cast<size_t>(i)];
        EXPECT_EQ(Data().XDataII(0, i), kept.Time) << i;
        EXPECT_EQ(Data().YData(0, i), kept.Sample.ChartT1()) << i;
        EXPECT_EQ(Data().YData(1, i), kept.Sample.ChartT2()) << i;
    }
    EXPECT_EQ(Box("txtDataNo"), QString::number(n));
    EXPECT_EQ(Box("txtStartTime"), core::DateTimeText(journal->Start.Start, Graph()->Locale()));
    EXPECT_FALSE(Box("txtT1Avg").isEmpty());
    EXPECT_FALSE(Box("txtT1Max").isEmpty());
    EXPECT_EQ(Graph()->SamplingRateIndex(), 0);
    EXPECT_TRUE(Graph()->findChild<QToolButton*>("tbntClr")->isEnabled());
    EXPECT_EQ(window->State().RealTimePointCount, n);
    EXPECT_FALSE(window->State().RealTimeRecording);
    EXPECT_TRUE(window->State().RealTimeUnsaved);
    EXPECT_TRUE(QFile::exists(JournalPath())) << "still unsaved, so still kept";

    // Closing the window asks; "No" gives the points up.
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    Graph()->parentWidget()->close();
    EXPECT_EQ(prompter.questions.last(), "Save Real-Time Graph ?");
    EXPECT_FALSE(QFile::exists(JournalPath()));
}

TEST_F(RealTimeJournalTest, NoAtTheStartRemovesTheJournalAndAnEmptyOneGoesWithoutAQuestion) {
    {
        core::RealTimeJournalWriter writer(JournalPath());
        ASSERT_TRUE(writer.Begin({core::NowTDateTime(), 1, 10}));
        ASSERT_TRUE(writer.Append({core::NowTDateTime(), {21.5f, 22.5f, false, false}}));
    }
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    StartProgram(fast);
    EXPECT_EQ(prompter.questions.size(), 1);
    EXPECT_FALSE(QFile::exists(JournalPath()));
    EXPECT_EQ(window->State().RealTimePointCount, 0);
    window.reset();

    {
        core::RealTimeJournalWriter writer(JournalPath());
        ASSERT_TRUE(writer.Begin({core::NowTDateTime(), 1, 10}));
    }
    prompter.questions.clear();
    StartProgram(fast);
    EXPECT_TRUE(prompter.questions.isEmpty());
    EXPECT_FALSE(QFile::exists(JournalPath()));
}

TEST_F(RealTimeJournalTest, ASavedRecordingLeavesNoJournalOnceItHasStopped) {
    StartAtToday();
    Record(3);
    auto journal = Journal();
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->Points.size(), 3u) << "each point is in the journal as it is taken";

    // Saved while it runs: the points after the save are not in the file.
    prompter.saveFileName = InHome("running.ghf");
    ASSERT_TRUE(window->Files().SaveSingleSet(*Graph()));
    Tick();
    window->btnStopClick();
    journal = Journal();
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->Points.size(), 4u);
    EXPECT_TRUE(journal->Stopped);

    prompter.saveFileName = InHome("stopped.txt");
    prompter.onDialog = [](QDialog&) { return int(QDialog::Accepted); };  // all points
    ASSERT_TRUE(window->Files().SaveSingleSet(*Graph()));
    EXPECT_FALSE(QFile::exists(JournalPath()));
}

TEST_F(RealTimeJournalTest, NoAtClearRemovesTheJournalAndANewRecordingReplacesIt) {
    StartAtToday();
    Record(2);
    window->btnStopClick();
    prompter.confirmAnswer = ui::Prompter::Answer::No;
    Record(1);  // "There are datas in Real_Time graph": No, and a new recording starts
    auto journal = Journal();
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->Points.size(), 1u);
    window->btnStopClick();

    Graph()->findChild<QToolButton*>("tbntClr")->click();
    EXPECT_EQ(prompter.questions.last(), "Save Real-Time Graph ?");
    EXPECT_FALSE(QFile::exists(JournalPath()));
}

TEST_F(RealTimeJournalTest, AJournalThatCannotBeWrittenNeverStopsTheRecordingAndIsToldOnce) {
    StartAtToday();
    testing::LinkLogCapture log("kr820.realtime");
    // Files may not grow past the start and two points: the third is written only in part.
    const qint64 startBytes = core::JournalMagic().size() + core::EncodeJournalStart({}).size();
    const qint64 pointBytes = core::EncodeJournalPoint({}).size();
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = previous;
    small.rlim_cur = static_cast<rlim_t>(startBytes + 2 * pointBytes + pointBytes / 2);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    Record(5);
    window->btnStopClick();
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    EXPECT_EQ(window->State().RealTimePointCount, 5) << "the recording went on";
    EXPECT_EQ(Data().Points(), 5);
    EXPECT_TRUE(prompter.messages.isEmpty()) << "not inside the tick";
    QCoreApplication::processEvents();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith("The real-time recording goes on, but it cannot be "
                                                "kept safe against a crash: writing \"" +
                                                JournalPath() + "\" failed"))
        << prompter.messages[0].toStdString();
    EXPECT_EQ(log.messages.filter("real-time journal").size(), 1);
    const auto journal = Journal();
    ASSERT_TRUE(journal);
    EXPECT_EQ(journal->Points.size(), 2u) << "what was written before the failure stays readable";
}

}  // namespace
}  // namespace kr820::meter
