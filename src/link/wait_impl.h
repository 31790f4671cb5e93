// SPDX-License-Identifier: MIT
#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

namespace kr820::link {

template <typename Predicate>
void WaitWhile(Predicate busy, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (busy() && clock.elapsed() < limit.count()) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        if (busy()) WaitMs(1);
    }
}

}  // namespace kr820::link
