// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QStandardPaths>
#include <QTcpServer>
#include <QTcpSocket>
#include <QThread>

namespace kr820::testing {

// What a test needs to start a real server on a loopback port: a free port, the server's
// program, and a wait until it listens.

template <typename Condition>
bool WaitFor(Condition condition, int limitMs = 30000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition() && clock.elapsed() < limitMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
    return condition();
}

// A port nobody listens on at the moment of asking.
inline int FreeLoopbackPort() {
    QTcpServer probe;
    if (!probe.listen(QHostAddress::LocalHost, 0)) return 0;
    return probe.serverPort();
}

inline QString ProgramPath(const QString& name) {
    return QStandardPaths::findExecutable(
        name, {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/bin"),
               QStringLiteral("/usr/local/sbin"), QStringLiteral("/usr/local/bin")});
}

#define KR820_SKIP_WITHOUT(program)                                     \
    if (kr820::testing::ProgramPath(QStringLiteral(program)).isEmpty()) \
    GTEST_SKIP() << program " is not installed (scripts/install-deps installs it): skipped"

inline bool WaitForPort(int port, int limitMs = 30000) {
    return WaitFor(
        [port] {
            QTcpSocket socket;
            socket.connectToHost(QHostAddress::LocalHost, static_cast<quint16>(port));
            return socket.waitForConnected(200);
        },
        limitMs);
}

}  // namespace kr820::testing
