// SPDX-License-Identifier: MIT
#include "link/wait.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

namespace kr820::link {

void WaitMs(int ms) {
    // A local event loop sleeps between events instead of spinning, and a nested wait inside a
    // handler that runs meanwhile returns on its own time.
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() <= ms) {
        QEventLoop loop;
        QTimer::singleShot(static_cast<int>(ms - clock.elapsed()) + 1, Qt::PreciseTimer, &loop,
                           &QEventLoop::quit);
        loop.exec();
    }
}

}  // namespace kr820::link
