// SPDX-License-Identifier: MIT
#pragma once

#include <QTimer>

namespace kr820::app {

// The alarm's sound: the system's beep, again every two seconds until stopped (acknowledged).
class AlarmSound : public QObject {
    Q_OBJECT

public:
    explicit AlarmSound(QObject* parent = nullptr);
    void Start();
    void Stop();
    bool Sounding() const { return m_repeat.isActive(); }

private:
    QTimer m_repeat;
};

}  // namespace kr820::app
