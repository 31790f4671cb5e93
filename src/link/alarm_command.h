// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <QString>
#include <chrono>

#include "core/alarms/alarm_event.h"

namespace kr820::link {

// Runs the user's alarm command (through /bin/sh -c) once for each event it is given, with the
// event in its environment (see core::AlarmEnvironment). It never waits: the readings go on while
// the command runs, a command still running after the time limit is killed with everything it
// started, and whatever went wrong is told through `problem`, one line each.
class AlarmCommandRunner : public QObject {
    Q_OBJECT

public:
    static constexpr std::chrono::seconds kDefaultLimit{30};

    explicit AlarmCommandRunner(QString command, std::chrono::milliseconds limit = kDefaultLimit,
                                QObject* parent = nullptr);
    ~AlarmCommandRunner() override;

    const QString& Command() const { return m_command; }
    void SetCommand(QString command) { m_command = std::move(command); }
    // Does nothing without a command.
    void Run(const core::AlarmEvent& event);
    int Running() const { return m_running; }
    // Runs events until every command started has ended or been killed, for the end of a run.
    void WaitForAll();

signals:
    // "alarm command exited with 3", "alarm command killed after 30 s", ...
    void problem(const QString& line);
    // What a command wrote on its standard output, line by line.
    void output(const QString& line);
    void commandEnded();

private:
    QString m_command;
    std::chrono::milliseconds m_limit;
    int m_running = 0;
};

}  // namespace kr820::link
