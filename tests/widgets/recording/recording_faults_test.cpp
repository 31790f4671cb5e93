// SPDX-License-Identifier: MIT
// Recordings as a new user meets them: the commands that would take the meter's port are refused
// while one runs; a lost meter is a gap in an until-stopped store and a line in its list, with
// its alarm marks; quitting asks before it ends one; what was given up or saved is not asked
// about or offered again; a relative or an unwritable folder.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QToolButton>

#include "app/alarm_desk.h"
#include "core/graph/graph_texts.h"
#include "graph/recording_list_model.h"
#include "graph/recording_plot.h"
#include "meter/meter_refusal.h"
#include "meter/real_time_recorder.h"
#include "meter/recording_folder.h"
#include "store/store_reader.h"
#include "store/stored_recording.h"
#include "widgets/alarms/fake_notifier.h"
#include "widgets/realtime/real_time_rig.h"

namespace kr820::testing {
namespace {

using Answer = ui::Prompter::Answer;

class RecordingFaultsTest : public RealTimeRig {
protected:
    void TearDown() override {
        RealTimeRig::TearDown();
        if (!startFolder.isEmpty()) QDir::setCurrent(startFolder);
    }
    QString Folder() const { return InHome(QStringLiteral("stores")); }

    // Real-Time Setup answered with "until stopped" into `folder`, through its Start button, so
    // that its checks run.
    void AnswerUntilStopped(const QString& folder) {
        QDir().mkpath(folder);
        prompter.onDialog = [folder](QDialog& dialog) {
            auto* setup = qobject_cast<meter::TfrmSetupRealTime*>(&dialog);
            if (!setup) return int(QDialog::Rejected);
            setup->findChild<QCheckBox*>("chkUntilStopped")->setChecked(true);
            setup->findChild<QLineEdit*>("edtStoreFolder")->setText(folder);
            setup->findChild<QComboBox*>("txtRate")->setCurrentIndex(0);
            setup->accept();
            return setup->result();
        };
    }
    QStringList Stores(const QString& folder) const {
        return QDir(folder).entryList({QStringLiteral("*.kr8db")}, QDir::Files);
    }
    std::unique_ptr<store::StoreReader> OnlyStore(const QString& folder) {
        const QStringList stores = Stores(folder);
        EXPECT_EQ(stores.size(), 1);
        if (stores.size() != 1) return nullptr;
        QString error;
        auto reader = store::StoreReader::Open(QDir(folder).filePath(stores.front()), &error);
        EXPECT_TRUE(reader) << error.toStdString();
        return reader;
    }
    QStringList Markers() const {
        return QDir(home.path())
            .entryList({QStringLiteral("RealTimeRecording*.store")}, QDir::Files);
    }
    // The program killed and started again on the same meter and folder.
    void CrashAndRestart() {
        window.reset();  // no closing, no questions: as a kill leaves it
        window = std::make_unique<app::TfrmMain>(
            prompter, [this](QStringList& list) { list << device; }, fastClock);
        QSignalSpy finished(window.get(), &app::TfrmMain::startupFinished);
        window->show();
        ASSERT_TRUE(finished.wait(10000));
        window->MainTimer().stop();
        window->Link().SetWallClock([this] { return clockMs; });
    }
    // One tick a second later, the meter's answer to its poll let in while it is plugged.
    void MeterTick() {
        clockMs += 1000;
        window->Link().MainTimerTimer();
        core::AppState& state = window->State();
        ProcessEventsUntil([&] { return state.FrameReceived; }, meter->IsPlugged() ? 2000 : 50);
    }
    int Points() const { return window->State().RealTimePointCount; }

    QString startFolder;
};

TEST_F(RecordingFaultsTest, CommandsThatTakeThePortAreRefusedWhileARecordingRuns) {
    StartTicking();
    clockMs = 1'700'000'000'000;
    AnswerUntilStopped(Folder());
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    for (int i = 0; i < 3; ++i) Tick();
    const int dialogs = prompter.dialogsShown;

    // The gear button is not greyed as its menu entry is: it says why instead.
    window->ToolButton("btnSetup")->click();
    window->btnSetupClick();
    window->btnDataLoggerClick();
    EXPECT_EQ(prompter.messages, QStringList(3, meter::kRecordingHoldsPortMessage));
    EXPECT_EQ(prompter.dialogsShown, dialogs) << "no setup read, no dialog";
    EXPECT_EQ(window->DataLoggerWindow(), nullptr) << "no download";
    EXPECT_TRUE(window->Comm1().Active());

    // Another device chosen in the box: refused, the port in use kept.
    emit window->ComboBoxDeviceName()->activated(0);
    EXPECT_EQ(prompter.messages.size(), 4);
    EXPECT_EQ(window->Comm1().DeviceName(), device);

    for (int i = 0; i < 2; ++i) Tick();
    window->btnStopClick();
    auto reader = OnlyStore(Folder());
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Count(), 5) << "a reading every tick, none lost";
    EXPECT_TRUE(reader->Gaps().empty());

    // Stopped, the setup goes ahead again.
    prompter.messages.clear();
    window->btnSetupClick();
    EXPECT_FALSE(prompter.messages.contains(meter::kRecordingHoldsPortMessage));
}

TEST_F(RecordingFaultsTest, ALostMeterIsAGapInTheStoreAndALineInTheListWithItsMarks) {
    FastClock clock{10};
    StartTicking(clock);
    clockMs = (QDateTime::currentMSecsSinceEpoch() / 1000) * 1000;
    QStringList notified;
    window->Alarms().SetNotifier(std::make_unique<FakeNotifier>(notified));
    core::AlarmPreferences preferences;
    preferences.Alarms.MeterLost = true;
    window->Alarms().SetPreferences(preferences);
    AnswerUntilStopped(Folder());
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    while (Points() < 4) MeterTick();

    meter->Unplug();
    MeterTick();  // takes the reading that came in before
    const int before = Points();
    for (int tick = 0; tick < 5; ++tick) MeterTick();
    ASSERT_FALSE(window->State().Connected);
    std::string error;
    ASSERT_TRUE(meter->Plug(&error)) << error;
    for (int tick = 0; tick < 20 && Points() < before + 3; ++tick) MeterTick();
    ASSERT_EQ(Points(), before + 3);
    window->btnStopClick();
    EXPECT_FALSE(window->State().RealTimeUnsaved) << "the marks are in the store too";

    auto reader = OnlyStore(Folder());
    ASSERT_TRUE(reader);
    ASSERT_EQ(reader->Count(), before + 3);
    const std::vector<store::Gap> gaps = reader->Gaps();
    ASSERT_EQ(gaps.size(), 1u);
    EXPECT_EQ(gaps[0].Cause, store::GapCause::LinkLost);
    ASSERT_TRUE(gaps[0].ToMs);
    EXPECT_GT(gaps[0].FromMs, reader->At(before - 1)->TimeMs);
    EXPECT_LE(*gaps[0].ToMs, reader->At(before)->TimeMs);
    EXPECT_EQ(reader->AlarmMarks(0, std::numeric_limits<qint64>::max()).size(), 2u);

    // The list: the readings, the gap's line before the first reading after it, the marks.
    const graph::RecordingListModel& list = *Graph()->RecordingList();
    QStringList between;
    for (int row = 0; row < list.rowCount(); ++row)
        if (list.ReadingOfRow(row) < 0) between << list.Line(row);
    const QLocale& locale = Graph()->Locale();
    const QString gapLine =
        "no reading from " +
        core::LongTimeText(graph::ChartTimeOfMs(reader->At(before - 1)->TimeMs), locale) + " to " +
        core::LongTimeText(graph::ChartTimeOfMs(reader->At(before)->TimeMs), locale);
    ASSERT_EQ(between.size(), 3) << between.join('\n').toStdString();
    EXPECT_EQ(between[0], gapLine);
    EXPECT_EQ(between[1], "  ** Meter lost raised");
    EXPECT_EQ(between[2], "  ** Meter lost cleared");
    // The meter came back with a reading before the first one taken after the gap.
    const int firstAfter = list.RowOfReading(before);
    EXPECT_EQ(list.Line(firstAfter - 3), gapLine);
    EXPECT_EQ(list.ReadingOfRow(firstAfter), before);
    EXPECT_EQ(list.ReadingOfRow(firstAfter - 4), before - 1);
    EXPECT_EQ(list.rowCount(), before + 3 + 3);
}

TEST_F(RecordingFaultsTest, QuittingOrClosingTheGraphAsksBeforeItEndsARecordingUntilStopped) {
    StartTicking();
    AnswerUntilStopped(Folder());
    window->btnRunClick();
    for (int i = 0; i < 3; ++i) Tick();

    prompter.confirmAnswer = Answer::Cancel;  // Escape
    EXPECT_FALSE(window->close());
    EXPECT_EQ(prompter.questions, QStringList{meter::kStopRecordingAndQuitQuestion});
    EXPECT_TRUE(window->State().RealTimeRecording) << "Escape keeps it running";
    prompter.confirmAnswer = Answer::No;
    Graph()->parentWidget()->close();
    QCoreApplication::processEvents();
    EXPECT_EQ(prompter.questions.last(), graph::kStopRecordingAndCloseQuestion);
    ASSERT_NE(Graph(), nullptr);
    EXPECT_TRUE(window->State().RealTimeRecording);
    Tick();

    prompter.confirmAnswer = Answer::Yes;
    EXPECT_TRUE(window->close());
    EXPECT_EQ(prompter.questions.size(), 3) << "one question for quitting, not two";
    auto reader = OnlyStore(Folder());
    ASSERT_TRUE(reader);
    EXPECT_EQ(reader->Count(), 4);
    EXPECT_TRUE(reader->Header().StoppedMs);
}

TEST_F(RecordingFaultsTest, PointsGivenUpAreNotOfferedAfterACrash) {
    StartTicking();
    AnswerSetup("15", 0);
    window->btnRunClick();
    for (int i = 0; i < 15; ++i) Tick();
    ASSERT_FALSE(window->State().RealTimeRecording);
    ASSERT_FALSE(UnsavedStore().isEmpty());

    prompter.confirmAnswer = Answer::No;  // "There are datas ...": not saved
    AnswerUntilStopped(Folder());
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    Tick();
    EXPECT_TRUE(UnsavedStores().isEmpty());

    prompter.questions.clear();
    prompter.confirmAnswer = Answer::Cancel;
    CrashAndRestart();
    ASSERT_FALSE(HasFatalFailure());
    // The store the crash left is offered; the 15 points given up are not.
    ASSERT_EQ(prompter.questions.size(), 1) << prompter.questions.join('\n').toStdString();
    EXPECT_TRUE(prompter.questions[0].contains("readings from"))
        << prompter.questions[0].toStdString();
}

TEST_F(RecordingFaultsTest, ARelativeFolderIsKeptAbsoluteAndEveryLeftOverStoreIsOffered) {
    StartTicking();
    startFolder = QDir::currentPath();
    ASSERT_TRUE(QDir(home.path()).mkdir("started here"));
    ASSERT_TRUE(QDir::setCurrent(InHome("started here")));
    AnswerUntilStopped(QStringLiteral("myrec"));
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    Tick();
    const QString folder = InHome("started here/myrec");
    ASSERT_EQ(Stores(folder).size(), 1);
    ASSERT_EQ(Markers().size(), 1);
    QFile marker(InHome(Markers().front()));
    ASSERT_TRUE(marker.open(QIODevice::ReadOnly));
    const QString named = QString::fromUtf8(marker.readAll());
    EXPECT_EQ(named, QDir(folder).filePath(Stores(folder).front()));
    marker.close();

    // Killed, and started again from elsewhere: offered, and Escape keeps it for later.
    ASSERT_TRUE(QDir::setCurrent(home.path()));
    prompter.confirmAnswer = Answer::Cancel;
    CrashAndRestart();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(prompter.questions.size(), 1);
    EXPECT_TRUE(prompter.questions[0].endsWith(named + "\". Show it?"))
        << prompter.questions[0].toStdString();

    // A second recording, killed too: both stores are offered, one question each.
    clockMs += 5000;
    AnswerUntilStopped(Folder());
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    Tick();
    EXPECT_EQ(Markers().size(), 2) << "the first store's marker is not overwritten";
    prompter.questions.clear();
    prompter.confirmAnswers = {Answer::No, Answer::Cancel};
    CrashAndRestart();
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_EQ(prompter.questions.size(), 2) << prompter.questions.join('\n').toStdString();
    EXPECT_TRUE(prompter.questions[0].contains(named));
    EXPECT_EQ(Markers().size(), 1) << "No forgets the first; Escape keeps the second";
}

TEST_F(RecordingFaultsTest, OnlyWhatIsUnsavedIsAskedAbout) {
    StartTicking();
    AnswerSetup("3", 0);
    window->btnRunClick();
    for (int i = 0; i < 3; ++i) Tick();
    ASSERT_TRUE(window->State().RealTimeUnsaved);
    for (const QString name : {QStringLiteral("points.txt"), QStringLiteral("points.ghf")}) {
        window->State().RealTimeUnsaved = true;
        prompter.onDialog = [](QDialog&) { return int(QDialog::Accepted); };  // every point
        prompter.saveFileName = InHome(name);
        ASSERT_TRUE(window->Files().SaveSingleSet(*Graph()));
        EXPECT_FALSE(window->State().RealTimeUnsaved) << name.toStdString();
    }

    // Run right after the save: straight to the setup.
    prompter.questions.clear();
    AnswerUntilStopped(Folder());
    window->btnRunClick();
    EXPECT_TRUE(prompter.questions.isEmpty()) << prompter.questions.join('\n').toStdString();
    ASSERT_TRUE(window->State().RealTimeRecording);
    Tick();
    window->btnStopClick();

    // Over a stopped store: nothing to save, nothing asked, on Run as on Exit.
    AnswerSetup("3", 0, /*start=*/false);
    window->btnRunClick();
    EXPECT_TRUE(prompter.questions.isEmpty()) << prompter.questions.join('\n').toStdString();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(prompter.questions.isEmpty()) << prompter.questions.join('\n').toStdString();
}

TEST_F(RecordingFaultsTest, AFolderThatCannotBeWrittenKeepsTheSetupOpenAndAMissingOneIsAsked) {
    StartTicking();
    // Root writes into any folder whatever its mode; none writes into /proc.
    QString readOnly = QStringLiteral("/proc/sys");
    if (::geteuid() != 0) {
        readOnly = InHome("read-only");
        ASSERT_TRUE(QDir(home.path()).mkdir("read-only"));
        ASSERT_TRUE(QFile::setPermissions(readOnly, QFile::ReadOwner | QFile::ExeOwner));
    }
    QString typed;
    bool stayedOpen = false;
    const auto answerWith = [&](const QString& folder) {
        prompter.onDialog = [&, folder](QDialog& dialog) {
            auto* setup = qobject_cast<meter::TfrmSetupRealTime*>(&dialog);
            if (!setup) return int(QDialog::Rejected);
            setup->show();
            setup->findChild<QCheckBox*>("chkUntilStopped")->setChecked(true);
            setup->findChild<QLineEdit*>("edtStoreFolder")->setText(folder);
            setup->accept();
            stayedOpen = setup->isVisible();
            typed = setup->findChild<QLineEdit*>("edtStoreFolder")->text();
            return setup->result();
        };
    };
    answerWith(readOnly);
    window->btnRunClick();
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(typed, readOnly);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_TRUE(prompter.messages[0].startsWith(
        meter::kFolderNotWritableMessage.arg(readOnly, QString()).chopped(2)))
        << prompter.messages[0].toStdString();
    EXPECT_FALSE(prompter.messages[0].endsWith("()."));
    EXPECT_FALSE(window->State().RealTimeRecording);

    // Not there: asked, and only Yes makes it.
    const QString missing = InHome("new/recordings");
    answerWith(missing);
    prompter.confirmAnswer = Answer::No;
    window->btnRunClick();
    EXPECT_EQ(prompter.questions, QStringList{meter::kCreateFolderQuestion.arg(missing)});
    EXPECT_TRUE(stayedOpen);
    EXPECT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(window->State().RealTimeRecording);
    prompter.confirmAnswer = Answer::Yes;
    window->btnRunClick();
    EXPECT_TRUE(QFileInfo(missing).isDir());
    EXPECT_TRUE(window->State().RealTimeRecording);
    EXPECT_EQ(Stores(missing).size(), 1);
}

}  // namespace
}  // namespace kr820::testing
