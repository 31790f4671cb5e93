// SPDX-License-Identifier: MIT
// Frame to pixels: cutting one live frame out of the received bytes, decoding it, and repainting
// what changed in the LCD window. Prints the median and the 95th percentile over alternating
// frames, so that every frame changes digits. Runs offscreen.
#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <algorithm>
#include <cstdio>
#include <vector>

#include "core/live/live_frame_parser.h"
#include "core/protocol/live_frame_cutter.h"
#include "core/state/app_state.h"
#include "lcd/frm_lcd.h"
#include "lcd/lcd_presenter.h"
#include "meter_emulator.h"

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    kr820::lcd::TfrmLCD window(nullptr);
    window.show();
    kr820::core::AppState state;
    kr820::lcd::LcdPresenter presenter;
    presenter.AttachWindow(&window);

    std::vector<QByteArray> frames;
    for (const std::int16_t tenths : {253, -50, 1374, 8}) {
        kr820::emulator::MeterState meter;
        meter.t1.tenthsC = tenths;
        meter.t2.tenthsC = static_cast<std::int16_t>(-tenths);
        frames.push_back(QByteArray::fromStdString(kr820::emulator::EncodeLiveFrame(meter)));
    }

    // The window is rendered into an image: offscreen there is no screen to wait for, and the
    // figure should include drawing every visible picture, not only marking what changed.
    QImage pixels(window.size(), QImage::Format_ARGB32_Premultiplied);
    constexpr int kRounds = 2000;
    std::vector<qint64> nanoseconds;
    nanoseconds.reserve(kRounds);
    QElapsedTimer clock;
    for (int round = 0; round < kRounds; ++round) {
        state.LiveBuffer.append(frames[round % frames.size()]);
        clock.start();
        kr820::core::CutLiveFrames(state.LiveBuffer, [&](const QByteArray& frame) {
            presenter.ShowReading(kr820::core::ParseLiveFrame(frame));
        });
        window.render(&pixels);
        nanoseconds.push_back(clock.nsecsElapsed());
    }
    std::sort(nanoseconds.begin(), nanoseconds.end());
    std::printf("frame to pixels over %d frames: median %.1f us, 95th percentile %.1f us\n",
                kRounds, nanoseconds[kRounds / 2] / 1000.0,
                nanoseconds[kRounds * 95 / 100] / 1000.0);
    return 0;
}
