// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QTcpSocket>
#include <chrono>

#include "link/network_device.h"
#include "link/telnet_com_port.h"

namespace kr820::link {

// The bytes of a serial line reached over TCP, raw or through RFC 2217's Telnet, for the port
// object to use in place of a serial device. Like the serial line it stands for, it counts
// and reads what arrived without the event loop running (reply waits poll without it), and
// writes leave at once, not when the event loop comes round. Failures throw EComError.
class NetworkLine : public QObject {
    Q_OBJECT

public:
    // How long a connection, and the RFC 2217 server's first answer, may take.
    static constexpr std::chrono::milliseconds kConnectLimit{4000};

    NetworkLine(NetworkDevice device, QString name, QObject* parent = nullptr);
    ~NetworkLine() override;

    // Connects and, for RFC 2217, sets the line to `bitsPerSecond` 8N1 with DTR and RTS on.
    // Timers and painting go on meanwhile; the user's input waits.
    void Connect(int bitsPerSecond);
    // Ends the connection now, so that the server is free for the next one at once (the object
    // itself may be deleted later, from the event loop).
    void Close();
    void SetBaudRate(int bitsPerSecond);

    int InputCount();
    int Read(char* buffer, int count);
    void Write(const char* data, int count);
    void PurgeInput();
    bool WaitForReadable(std::chrono::milliseconds limit);

signals:
    // Data may be there; through the event loop only.
    void readable();
    // The connection ended from the other side or failed; told once, through the event loop.
    void lost(int code, const QString& reason);

private:
    void ConnectOnce(int bitsPerSecond);
    void WaitConnected();
    void NegotiateComPort(int bitsPerSecond);
    // Takes in whatever the socket holds, without waiting.
    void Pull();
    void Take(const char* bytes, qsizetype count);
    void SendWire(const QByteArray& bytes);
    void NoteLost(int code, QString reason);
    QString InUseReason() const;
    void OnReadyRead();
    [[noreturn]] void Fail(int code, const QString& reason);
    int Handle() const;
    bool Telnet() const { return m_device.protocol == NetworkDevice::Protocol::Rfc2217; }

    const NetworkDevice m_device;
    const QString m_name;
    QTcpSocket m_socket;
    TelnetComPort m_telnet;
    QByteArray m_input;
    bool m_connecting = false;
    bool m_lost = false;
};

}  // namespace kr820::link
