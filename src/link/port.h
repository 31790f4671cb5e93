// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>

namespace kr820::link {

// The bytes of a serial line, as an exchange with the meter uses them. A failure throws
// EComError, or EAbort when the port's error handler abandons it.
class Port {
public:
    virtual ~Port() = default;

    // Bytes received and not yet read. 0 while closed.
    virtual int InputCount() = 0;
    // Reads up to `count` queued bytes without waiting; returns how many were read.
    virtual int Read(char* buffer, int count) = 0;
    QByteArray Read(int count);
    // Queues the bytes for sending and returns.
    virtual void Write(const char* data, int count) = 0;
    void Write(const QByteArray& data) { Write(data.constData(), static_cast<int>(data.size())); }
    // Discard what is queued; nothing happens while closed.
    virtual void PurgeInput() = 0;
    virtual void PurgeOutput() = 0;
    // Blocks without processing events until input is there or `limit` has passed; says
    // whether input is there.
    virtual bool WaitForReadable(std::chrono::milliseconds limit) = 0;

    // The device the port is (or will be) open on, for reports.
    virtual QString DeviceName() const = 0;
};

// A port on a named device that is opened and closed: what the search, the supervision and the
// port switches need beyond the bytes.
class DevicePort : public Port {
public:
    using RxCharHandler = std::function<void(Port& sender)>;

    // Opening an open port does nothing.
    virtual void Open() = 0;
    // Never fails; closing a closed port does nothing.
    virtual void Close() = 0;
    virtual bool Active() const = 0;
    // The port closed itself because its device went away; cleared by the next open or close.
    virtual bool DeviceLost() const = 0;
    // Whether the named device is there at all; one that is not cannot open and is passed over
    // without waiting for it.
    virtual bool DeviceExists() const { return true; }

    // Refused while open; the old name stays.
    virtual void SetDeviceName(const QString& name) = 0;
    // Applied at once while open.
    virtual void SetBaudRate(int bitsPerSecond) = 0;
    virtual int BaudRate() const = 0;

    // Called through the event loop when bytes arrive, never from inside a call on the port.
    // Setting or clearing it starts or stops the notifications at once.
    virtual void SetOnRxChar(RxCharHandler handler) = 0;
    virtual const RxCharHandler& OnRxChar() const = 0;
    bool HasOnRxChar() const { return static_cast<bool>(OnRxChar()); }
};

}  // namespace kr820::link
