// SPDX-License-Identifier: MIT
// The program's main window recording in real time on its own, until it is killed: the crash
// tests run it as a child process against an emulated meter. The user's answers come from a
// FakePrompter (2000 points, one a second); the ticks come every 50 ms, each one standing for a
// second of recording time. After each tick it prints the points taken so far, as
//   point <index> <time> <T1> <T2>
// with the numbers as the chart holds them, written exactly.
//
// Usage: kr820_recording_child DEVICE   (the program folder comes from $KR820_HOME)
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QLineEdit>
#include <QTimer>
#include <cstdio>

#include "app/frm_main.h"
#include "core/chart/chart_model.h"
#include "fake_prompter.h"
#include "fast_clock.h"
#include "graph/frm_graph.h"
#include "meter/frm_setup_real_time.h"

namespace {

constexpr int kTickMs = 50;
constexpr qint64 kRecordedSecondMs = 1000;

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kr820_recording_child DEVICE\n");
        return 2;
    }
    QApplication application(argc, argv);
    const QString device = QString::fromLocal8Bit(argv[1]);

    kr820::testing::FakePrompter prompter;
    prompter.onDialog = [](QDialog& dialog) {
        auto* setup = qobject_cast<kr820::meter::TfrmSetupRealTime*>(&dialog);
        if (!setup) return int(QDialog::Rejected);
        setup->findChild<QLineEdit*>("edtRealTimeNo")->setText("2000");
        setup->findChild<QComboBox*>("txtRate")->setCurrentIndex(0);  // "00:01"
        return int(QDialog::Accepted);
    };
    kr820::testing::FastClock clock(10);
    kr820::app::TfrmMain window(prompter, [device](QStringList& list) { list << device; }, clock);

    const qint64 firstSecond = (QDateTime::currentMSecsSinceEpoch() / 1000 + 1) * 1000;
    qint64 ticks = 0;
    window.Link().SetWallClock([&] { return firstSecond + ticks * kRecordedSecondMs; });

    int printed = 0;
    QTimer driver;
    driver.setInterval(kTickMs);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        ++ticks;
        window.Link().MainTimerTimer();
        const kr820::core::ChartData& data = window.RealTimeGraphWindow()->Chart().Data();
        for (; printed < window.State().RealTimePointCount; ++printed) {
            std::printf("point %d %.17g %.9g %.9g\n", printed, data.XDataII(0, printed),
                        double(data.YData(0, printed)), double(data.YData(1, printed)));
        }
        std::fflush(stdout);
    });
    QObject::connect(&window, &kr820::app::TfrmMain::startupFinished, [&] {
        if (!window.State().Connected) {
            std::fprintf(stderr, "no meter on %s\n", argv[1]);
            QApplication::exit(1);
            return;
        }
        window.MainTimer().stop();  // the driver ticks instead, faster
        window.btnRunClick();
        std::printf("recording %d\n", window.State().RealTimeRecording ? 1 : 0);
        std::fflush(stdout);
        driver.start();
    });
    window.show();
    return application.exec();
}
