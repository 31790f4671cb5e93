// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QElapsedTimer>
#include <QProcess>
#include <csignal>
#include <functional>

namespace kr820::testing {

// kr820-cli started as a separate process, as a shell, a script or a service starts it: its exit
// code or the signal that ended it, its output, and signals sent to it.
class CliChild {
public:
    CliChild() {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("TZ", "Europe/Berlin");
        environment.remove("KR820_PORTS");
        environment.remove("DISPLAY");
        environment.remove("QT_QPA_PLATFORM");
        process.setProcessEnvironment(environment);
    }
    ~CliChild() {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    void SetEnvironment(const QString& name, const QString& value) {
        QProcessEnvironment environment = process.processEnvironment();
        environment.insert(name, value);
        process.setProcessEnvironment(environment);
    }
    // Runs in the child between fork and exec: limits and signal dispositions it inherits.
    void InChild(std::function<void()> setUp) { process.setChildProcessModifier(std::move(setUp)); }

    void Start(const QStringList& arguments) {
        process.start(QStringLiteral(KR820_CLI_PATH), arguments);
        ASSERT_TRUE(process.waitForStarted(10000));
        m_sinceStart.start();
    }
    // False when it had not ended within `limitMs`; it is then killed.
    bool Finish(int limitMs = 30000) {
        if (!process.waitForFinished(limitMs)) {
            process.kill();
            process.waitForFinished(5000);
            return false;
        }
        m_err += process.readAllStandardError();
        return true;
    }
    bool Run(const QStringList& arguments, int limitMs = 30000) {
        Start(arguments);
        return Finish(limitMs);
    }
    void Signal(int signal) { ::kill(static_cast<pid_t>(process.processId()), signal); }
    // Reads stderr until `text` appears; false when the child ends or `limitMs` passes first.
    bool AwaitErr(const QByteArray& text, int limitMs = 30000) {
        QElapsedTimer waited;
        waited.start();
        while (!m_err.contains(text) && waited.elapsed() < limitMs &&
               process.state() == QProcess::Running) {
            process.waitForReadyRead(50);
            m_err += process.readAllStandardError();
        }
        return m_err.contains(text);
    }

    // The exit code, or -1 when a signal ended it.
    int ExitCode() const {
        return process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    }
    const QByteArray& Err() const { return m_err; }
    QByteArray Out() { return process.readAllStandardOutput(); }
    qint64 MsSinceStart() const { return m_sinceStart.elapsed(); }

    QProcess process;

private:
    QByteArray m_err;
    QElapsedTimer m_sinceStart;
};

// In the child: no core file when a signal ends it on purpose.
inline void NoCoreFile() {
    const rlimit none{0, 0};
    ::setrlimit(RLIMIT_CORE, &none);
}

}  // namespace kr820::testing
