// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <memory>
#include <thread>

#include "meter_emulator.h"

namespace kr820::testing {

// A started meter emulator; the test fails at once when the pseudo-terminal cannot be made.
inline std::unique_ptr<emulator::MeterEmulator> StartEmulator(bool silent = false) {
    auto meter = std::make_unique<emulator::MeterEmulator>();
    std::string error;
    EXPECT_TRUE(meter->Start(&error)) << error;
    meter->SetSilent(silent);
    return meter;
}

inline QString PathOf(const emulator::MeterEmulator& meter) {
    return QString::fromStdString(meter.DevicePath());
}

// Processes events until the condition holds or the limit passes; returns the condition. Rests
// a moment between rounds: processing returns at once when nothing is pending, and spinning
// would take the processor from the emulator and from tests running beside this one.
template <typename Condition>
bool ProcessEventsUntil(Condition condition, int limitMs = 3000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return condition();
}

}  // namespace kr820::testing
