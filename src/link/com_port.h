// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <chrono>
#include <functional>

#include "link/com_error.h"

namespace kr820::link {

// A serial port object with the behaviour the program relies on: idempotent open and close,
// exclusive access, 8N1 without flow control, reads and writes that never wait, a receive
// notification on the window thread, and errors that go through one handler first.
//
// Two properties matter to the exchanges with the meter:
// - OnRxChar is delivered through the event loop, never from inside InputCount, Read or Write;
// - InputCount counts bytes that reached the device even while no events are processed, because
//   reply waits poll the count without running the event loop.
class TComPort : public QObject {
    Q_OBJECT

public:
    using RxCharHandler = std::function<void(TComPort& sender)>;
    using ErrorHandler =
        std::function<void(TComPort& sender, const EComError& error, TErrorAction& action)>;

    explicit TComPort(QObject* parent = nullptr);
    ~TComPort() override;

    // Opening an open port and closing a closed one do nothing.
    void SetActive(bool active);
    bool Active() const;
    // The port closed itself because its device went away (unplugged); cleared by the next open
    // or close.
    bool DeviceLost() const { return m_deviceLost; }
    void Open() { SetActive(true); }
    void Close() { SetActive(false); }

    // Refused while open; the old name stays.
    void SetDeviceName(const QString& name);
    QString DeviceName() const { return m_deviceName; }

    // Applied at once while open.
    void SetBaudRate(int bitsPerSecond);
    int BaudRate() const { return m_baudRate; }

    // Bytes received and not yet read, counting those still in the driver. 0 while closed.
    int InputCount();
    // Reads up to `count` queued bytes without waiting; returns how many were read.
    int Read(char* buffer, int count);
    QByteArray Read(int count);
    // Queues the bytes for sending and returns; the caller's buffer may be reused at once.
    void Write(const char* data, int count);
    void Write(const QByteArray& data) { Write(data.constData(), static_cast<int>(data.size())); }
    // Discard what is queued; nothing happens while closed.
    void PurgeInput();
    void PurgeOutput();

    // Blocks without processing events until the device has input or the limit passes.
    bool WaitForReadable(std::chrono::milliseconds limit);

    // Setting or clearing the handler starts or stops the events at once, without reopening.
    void SetOnRxChar(RxCharHandler handler) { m_onRxChar = std::move(handler); }
    bool HasOnRxChar() const { return static_cast<bool>(m_onRxChar); }
    const RxCharHandler& OnRxChar() const { return m_onRxChar; }
    void SetOnError(ErrorHandler handler) { m_onError = std::move(handler); }

private:
    void OpenDevice();
    void CloseDevice();
    void ApplyLineSettings();
    int DeviceHandle() const;
    bool HungUp() const;
    void RequireOpen();
    [[noreturn]] void Fail(const EComError& error);
    void OnReadyRead();
    void OnSerialError(QSerialPort::SerialPortError error);

    QSerialPort m_port;
    QString m_deviceName = QStringLiteral("COM1");
    int m_baudRate = 19200;
    bool m_locked = false;
    bool m_deviceLost = false;
    RxCharHandler m_onRxChar;
    ErrorHandler m_onError;
};

}  // namespace kr820::link
