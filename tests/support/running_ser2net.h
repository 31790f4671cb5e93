// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>

#include "loopback_ports.h"

namespace kr820::testing {

// A ser2net in front of a serial device (the emulator's pseudo-terminal) on a loopback port,
// raw or speaking RFC 2217; started and stopped again on the same port, as a server restarted.
class RunningSer2net {
public:
    enum class Accepter { Raw, Rfc2217 };

    // `line`: the line settings ser2net opens the device with ("19200n81").
    RunningSer2net(Accepter accepter, QString device, QString line = QStringLiteral("19200n81"))
        : m_accepter(accepter),
          m_device(std::move(device)),
          m_line(std::move(line)),
          m_port(FreeLoopbackPort()) {}
    ~RunningSer2net() { Stop(); }

    int Port() const { return m_port; }
    QString Url() const {
        return (m_accepter == Accepter::Raw ? QStringLiteral("tcp://127.0.0.1:%1")
                                            : QStringLiteral("rfc2217://127.0.0.1:%1"))
            .arg(m_port);
    }
    // What ser2net wrote (its trace of the device's bytes, with -d its debugging lines).
    QByteArray Output() {
        m_output += m_process.readAll();
        return m_output;
    }
    // The device may change between runs (the emulator plugged again).
    void SetDevice(const QString& device) { m_device = device; }

    bool Start() {
        const QString accepter =
            m_accepter == Accepter::Raw
                ? QStringLiteral("tcp,127.0.0.1,%1").arg(m_port)
                : QStringLiteral("telnet(rfc2217),tcp,127.0.0.1,%1").arg(m_port);
        const QStringList yaml = {
            QStringLiteral("connection: &meter"),
            QStringLiteral("  accepter: ") + accepter,
            QStringLiteral("  connector: serialdev,%1,%2,local").arg(m_device, m_line),
            QStringLiteral("  options:"),
            QStringLiteral("    kickolduser: false"),
        };
        QStringList arguments = {QStringLiteral("-n"), QStringLiteral("-d"), QStringLiteral("-u"),
                                 QStringLiteral("-P"), m_dir.filePath(QStringLiteral("pid"))};
        for (const QString& line : yaml) arguments << QStringLiteral("-Y") << line;
        m_process.setProcessChannelMode(QProcess::MergedChannels);
        m_process.start(ProgramPath(QStringLiteral("ser2net")), arguments);
        return m_process.waitForStarted(10000) && WaitForListening();
    }
    // Killed, as a server that fails or is switched off: its connections end at once.
    void Kill() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.kill();
        m_process.waitForFinished(10000);
        Output();
    }
    void Stop() { Kill(); }

private:
    // Asked with a connection of its own would open the device: look at the sockets instead.
    bool WaitForListening() {
        return WaitFor([this] {
            QTcpServer probe;
            return m_process.state() == QProcess::Running &&
                   !probe.listen(QHostAddress::LocalHost, static_cast<quint16>(m_port));
        });
    }

    const Accepter m_accepter;
    QString m_device;
    const QString m_line;
    const int m_port;
    QTemporaryDir m_dir;
    QProcess m_process;
    QByteArray m_output;
};

}  // namespace kr820::testing
