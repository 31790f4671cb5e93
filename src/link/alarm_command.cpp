// SPDX-License-Identifier: MIT
#include "link/alarm_command.h"

#include <signal.h>
#include <unistd.h>

#include <QEventLoop>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTimer>

#include "core/alarms/alarm_texts.h"

namespace kr820::link {
namespace {

QString Seconds(std::chrono::milliseconds limit) {
    return QString::number(std::chrono::duration<double>(limit).count());
}

// The command's whole process group: a shell's children are killed with it.
void KillGroup(QProcess& process) {
    const qint64 pid = process.processId();
    if (pid > 0) ::kill(-static_cast<pid_t>(pid), SIGKILL);
    process.kill();
}

}  // namespace

AlarmCommandRunner::AlarmCommandRunner(QString command, std::chrono::milliseconds limit,
                                       QObject* parent)
    : QObject(parent), m_command(std::move(command)), m_limit(limit) {}

AlarmCommandRunner::~AlarmCommandRunner() {
    // Nothing of ours outlives the program.
    for (QProcess* process : findChildren<QProcess*>()) {
        process->disconnect(this);
        if (process->state() != QProcess::NotRunning) {
            KillGroup(*process);
            process->waitForFinished(1000);
        }
    }
}

void AlarmCommandRunner::Run(const core::AlarmEvent& event) {
    if (m_command.trimmed().isEmpty()) return;
    auto* process = new QProcess(this);
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : core::AlarmEnvironment(event)) environment.insert(name, value);
    process->setProcessEnvironment(environment);
    process->setProgram(QStringLiteral("/bin/sh"));
    process->setArguments({QStringLiteral("-c"), m_command});
    process->setStandardInputFile(QProcess::nullDevice());
    process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
    // A group of its own, so that a time limit kills what the shell started too.
    process->setChildProcessModifier([] { ::setpgid(0, 0); });

    auto* limit = new QTimer(process);
    limit->setSingleShot(true);
    auto killed = std::make_shared<bool>(false);
    connect(limit, &QTimer::timeout, process, [this, process, killed] {
        *killed = true;
        KillGroup(*process);
        emit problem(
            QStringLiteral("alarm command killed after %1 s: %2").arg(Seconds(m_limit), m_command));
    });
    connect(process, &QProcess::readyReadStandardOutput, this, [this, process] {
        while (process->canReadLine())
            emit output(QString::fromLocal8Bit(process->readLine()).trimmed());
    });
    const auto ended = [this, process, limit] {
        limit->stop();
        const QByteArray rest = process->readAllStandardOutput().trimmed();
        if (!rest.isEmpty()) emit output(QString::fromLocal8Bit(rest));
        --m_running;
        process->deleteLater();
        emit commandEnded();
    };
    connect(process, &QProcess::finished, this,
            [this, process, killed, ended](int code, QProcess::ExitStatus status) {
                if (!*killed) {
                    if (status == QProcess::CrashExit)
                        emit problem(
                            QStringLiteral("alarm command ended by a signal: %1").arg(m_command));
                    else if (code != 0)
                        emit problem(QStringLiteral("alarm command exited with %1: %2")
                                         .arg(code)
                                         .arg(m_command));
                }
                ended();
            });
    connect(process, &QProcess::errorOccurred, this,
            [this, process, ended](QProcess::ProcessError error) {
                if (error != QProcess::FailedToStart) return;
                emit problem(QStringLiteral("alarm command could not start (%1): %2")
                                 .arg(process->errorString(), m_command));
                ended();
            });
    ++m_running;
    limit->start(m_limit);
    process->start();
}

void AlarmCommandRunner::WaitForAll() {
    if (m_running == 0) return;
    QEventLoop loop;
    connect(this, &AlarmCommandRunner::commandEnded, &loop, [this, &loop] {
        if (m_running == 0) loop.quit();
    });
    loop.exec();
}

}  // namespace kr820::link
