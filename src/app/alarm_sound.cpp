// SPDX-License-Identifier: MIT
#include "app/alarm_sound.h"

#include <QApplication>

namespace kr820::app {

AlarmSound::AlarmSound(QObject* parent) : QObject(parent) {
    m_repeat.setInterval(2000);
    connect(&m_repeat, &QTimer::timeout, this, [] { QApplication::beep(); });
}

void AlarmSound::Start() {
    if (Sounding()) return;
    QApplication::beep();
    m_repeat.start();
}

void AlarmSound::Stop() { m_repeat.stop(); }

}  // namespace kr820::app
