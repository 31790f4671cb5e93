// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>
#include <QString>
#include <chrono>
#include <functional>
#include <memory>

#include "link/com_error.h"
#include "link/port.h"

namespace kr820::link {

class NetworkLine;

// A serial port object, or a meter behind a serial device server named tcp://HOST:PORT or
// rfc2217://HOST:PORT (link/network_device.h), to the exchanges one and the same: a connection
// that ends is a device that went away, and a refused one a device that does not open.
//
// A serial port object with the behaviour the program relies on: idempotent open and close,
// exclusive access, 8N1 without flow control, reads and writes that never wait, a receive
// notification on the window thread, and errors that go through one handler first.
//
// Two properties matter to the exchanges with the meter:
// - OnRxChar is delivered through the event loop, never from inside InputCount, Read or Write;
// - InputCount counts bytes that reached the device even while no events are processed, because
//   reply waits poll the count without running the event loop.
class TComPort : public QObject, public DevicePort {
    Q_OBJECT

public:
    using ErrorHandler =
        std::function<void(TComPort& sender, const EComError& error, TErrorAction& action)>;

    explicit TComPort(QObject* parent = nullptr);
    ~TComPort() override;

    // Opening an open port and closing a closed one do nothing.
    void SetActive(bool active);
    bool Active() const override;
    bool DeviceLost() const override { return m_deviceLost; }
    bool DeviceExists() const override;
    void Open() override { SetActive(true); }
    void Close() override { SetActive(false); }

    void SetDeviceName(const QString& name) override;
    QString DeviceName() const override { return m_deviceName; }
    void SetBaudRate(int bitsPerSecond) override;
    int BaudRate() const override { return m_baudRate; }

    using Port::Read;
    using Port::Write;
    // Counts the bytes still in the driver too.
    int InputCount() override;
    int Read(char* buffer, int count) override;
    // The caller's buffer may be reused at once.
    void Write(const char* data, int count) override;
    void PurgeInput() override;
    void PurgeOutput() override;
    bool WaitForReadable(std::chrono::milliseconds limit) override;

    // Setting or clearing the handler starts or stops the events at once, without reopening.
    void SetOnRxChar(RxCharHandler handler) override { m_onRxChar = std::move(handler); }
    const RxCharHandler& OnRxChar() const override { return m_onRxChar; }
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
    void OpenNetwork();
    void OnNetworkLost(int code, const QString& reason);
    // Runs an operation of the network line, its failure going through Fail.
    template <typename Operation>
    auto OnNetwork(Operation operation);

    QSerialPort m_port;
    QString m_deviceName = QStringLiteral("COM1");
    int m_baudRate = 19200;
    bool m_locked = false;
    bool m_deviceLost = false;
    QString m_openPath;                      // the device's real path while open
    std::unique_ptr<NetworkLine> m_network;  // while open on a network device
    RxCharHandler m_onRxChar;
    ErrorHandler m_onError;
};

}  // namespace kr820::link
