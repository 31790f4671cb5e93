// SPDX-License-Identifier: MIT
// The desktop's recording until stopped and `kr820-cli live --store` keep the same readings the
// same way: rows, gaps and alarm marks, read back through `kr820-cli export`. A channel whose
// invalid byte has any bit set has no value in either, as the meter's display shows.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDir>
#include <QProcess>
#include <QSignalSpy>
#include <limits>

#include "link/live_readings.h"
#include "store/recording_writer.h"
#include "store/store_reader.h"
#include "store/stored_reading_of.h"
#include "widgets/realtime/real_time_rig.h"

namespace kr820::testing {
namespace {

class OneWriterTest : public RealTimeRig {
protected:
    QString Folder() const { return InHome(QStringLiteral("stores")); }
    QString DesktopStore() const {
        const QStringList names = QDir(Folder()).entryList({QStringLiteral("*.kr8db")});
        return names.size() == 1 ? QDir(Folder()).filePath(names[0]) : QString();
    }
    // `kr820-cli export` of a store: its rows as CSV.
    static QByteArray Exported(const QString& path) {
        QProcess cli;
        cli.start(
            QStringLiteral(KR820_CLI_PATH),
            {QStringLiteral("export"), path, QStringLiteral("--format"), QStringLiteral("csv")});
        EXPECT_TRUE(cli.waitForFinished(20000));
        EXPECT_EQ(cli.exitCode(), 0) << cli.readAllStandardError().toStdString();
        return cli.readAllStandardOutput();
    }
};

TEST_F(OneWriterTest, TheDesktopAndLiveStoreKeepTheSameRowsGapsAndMarks) {
    StartTicking();
    ASSERT_FALSE(HasFatalFailure());
    clockMs = 1'700'000'000'000;
    QDir().mkpath(Folder());
    prompter.onDialog = [this](QDialog& dialog) {
        auto* setup = qobject_cast<meter::TfrmSetupRealTime*>(&dialog);
        if (!setup) return int(QDialog::Rejected);
        setup->findChild<QCheckBox*>("chkUntilStopped")->setChecked(true);
        setup->findChild<QLineEdit*>("edtStoreFolder")->setText(Folder());
        setup->findChild<QComboBox*>("txtRate")->setCurrentIndex(0);
        return int(QDialog::Accepted);
    };
    window->btnRunClick();
    ASSERT_TRUE(window->State().RealTimeRecording);
    link::LiveReadings& readings = window->Link().Readings();
    QObject linkWatch;
    std::vector<qint64> lost, restored;
    readings.FanOut().Attach(core::ReadingStage::Display, &linkWatch,
                             {.LinkLost = [&](qint64 atMs) { lost.push_back(atMs); },
                              .LinkRestored = [&](qint64 atMs) { restored.push_back(atMs); }});

    // What live --store is handed: the same readings at the same instants.
    struct Taken {
        core::LiveReading Reading;
        qint64 AtMs = 0;
    };
    std::vector<Taken> taken;
    const auto take = [&](float t1, float t2, quint16 status, quint16 invalid) {
        Live(t1, t2, status, invalid);
        Tick();
        taken.push_back({readings.Last(), window->Link().WallClockMs()});
    };
    take(21.0f, 31.0f, 0, 0);
    take(22.0f, 32.0f, 0, 0x0004);  // T1's invalid byte with bit 2 only: no value
    take(23.0f, 33.0f, 0, 0x0100);  // T2 out of range
    // The meter falls silent: a gap from the loss to its return.
    for (int i = 0; i < 8 && lost.empty(); ++i) Tick(/*freshFrame=*/false);
    ASSERT_EQ(lost.size(), 1) << "the link was not lost";
    take(24.0f, 34.0f, 0x40, 0);  // Fahrenheit on the display
    take(25.0f, 35.0f, 0, 0);
    window->btnStopClick();
    const qint64 stoppedMs = window->Link().WallClockMs();

    QString error;
    store::StoreHeader header;
    header.StartMs = taken.front().AtMs;
    const QString cliPath = InHome(QStringLiteral("live.kr8db"));
    {
        auto writer = store::RecordingWriter::Open(cliPath, header, &error);
        ASSERT_TRUE(writer) << error.toStdString();
        for (size_t i = 0; i < taken.size(); ++i) {
            if (i == 3) {
                writer->LinkLost(lost[0]);
                // Without a return heard, the next reading ends the gap.
                if (!restored.empty()) writer->LinkRestored(restored[0]);
            }
            ASSERT_TRUE(
                writer->Append(store::StoredReadingOf(taken[i].Reading, taken[i].AtMs), nullptr));
        }
        ASSERT_TRUE(writer->Finish(stoppedMs));
    }

    ASSERT_FALSE(DesktopStore().isEmpty());
    const QByteArray desktopRows = Exported(DesktopStore());
    EXPECT_EQ(desktopRows, Exported(cliPath));
    const QList<QByteArray> lines = desktopRows.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 6) << desktopRows.toStdString();
    EXPECT_TRUE(lines[2].contains(",,32.0,"))
        << "bit 2 of T1's invalid byte: " << lines[2].toStdString();

    auto desktop = store::StoreReader::Open(DesktopStore(), &error);
    auto cli = store::StoreReader::Open(cliPath, &error);
    ASSERT_TRUE(desktop && cli);
    EXPECT_EQ(desktop->Gaps(), cli->Gaps());
    ASSERT_EQ(desktop->Gaps().size(), 1u);
    EXPECT_EQ(desktop->Gaps()[0].Cause, store::GapCause::LinkLost);
    constexpr qint64 kAll = std::numeric_limits<qint64>::max();
    EXPECT_EQ(desktop->AlarmMarks(-kAll, kAll), cli->AlarmMarks(-kAll, kAll));
}

}  // namespace
}  // namespace kr820::testing
