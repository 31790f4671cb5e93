// SPDX-License-Identifier: MIT
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace kr820::app {

// The red band above the workspace while an alarm waits to be acknowledged: one line per alarm
// (channel, value, limit, time) and the Acknowledge button. Hidden when there is none.
class AlarmBanner : public QFrame {
    Q_OBJECT

public:
    explicit AlarmBanner(QWidget* parent = nullptr);
    void ShowLines(const QStringList& lines);
    QString Text() const;
    QPushButton* AcknowledgeButton() const { return m_acknowledge; }

signals:
    void acknowledged();

private:
    QLabel* m_text;
    QPushButton* m_acknowledge;
};

}  // namespace kr820::app
