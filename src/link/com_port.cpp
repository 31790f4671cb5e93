// SPDX-License-Identifier: MIT
#include "link/com_port.h"

#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <QFileInfo>
#include <QMetaObject>
#include <QSet>
#include <cerrno>
#include <cstring>
#include <thread>

#include "link/access_refusal.h"
#include "link/link_log.h"
#include "link/network_device.h"
#include "link/network_line.h"
#include "link/serial_lock_file.h"

namespace kr820::link {
namespace {

EComError SystemError(int code) { return EComError(code, QString::fromLocal8Bit(strerror(code))); }

// The system's error code of a failed open. The serial library's permission error covers both a
// device the user may not open and one another program holds (its lock file, an exclusive open),
// and the library's own clean-up may have changed errno since: the device itself tells which.
int OpenErrorCode(QSerialPort::SerialPortError error, int lastErrno, const QString& device) {
    switch (error) {
        case QSerialPort::PermissionError:
            return PermissionErrorCode(device);
        case QSerialPort::DeviceNotFoundError:
            return ENOENT;
        default:
            return lastErrno != 0 ? lastErrno : EIO;
    }
}

constexpr std::chrono::milliseconds kWriteLimit{1000};

// The devices the port objects of this program have open, by their real paths: a lock file that
// names this process and none of them was left by an earlier run with the same process id.
QSet<QString>& DevicesOpenHere() {
    static QSet<QString> devices;
    return devices;
}

}  // namespace

TComPort::TComPort(QObject* parent) : QObject(parent) {
    connect(&m_port, &QSerialPort::readyRead, this, &TComPort::OnReadyRead);
    connect(&m_port, &QSerialPort::errorOccurred, this, &TComPort::OnSerialError);
}

TComPort::~TComPort() { CloseDevice(); }

bool TComPort::Active() const { return m_network != nullptr || m_port.isOpen(); }

template <typename Operation>
auto TComPort::OnNetwork(Operation operation) {
    try {
        return operation(*m_network);
    } catch (const EComError& error) {
        Fail(error);
    }
}

void TComPort::OpenNetwork() {
    const NetworkDeviceParse parsed = ParseNetworkDevice(m_deviceName);
    if (!parsed.device) Fail(EComError(EINVAL, parsed.error));
    auto line = std::make_unique<NetworkLine>(*parsed.device, m_deviceName);
    try {
        line->Connect(m_baudRate);
    } catch (const EComError& error) {
        Fail(error);
    }
    connect(line.get(), &NetworkLine::readable, this, &TComPort::OnReadyRead);
    connect(line.get(), &NetworkLine::lost, this, &TComPort::OnNetworkLost);
    m_network = std::move(line);
}

void TComPort::OnNetworkLost(int code, const QString& reason) {
    if (m_onError) {
        TErrorAction action = TErrorAction::Report;
        m_onError(*this, EComError(code, reason), action);
    }
    qCWarning(lcLink).noquote() << "the connection to" << m_deviceName << "ended:" << reason;
    // Not from inside the line's own signal; handed to the next event.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!m_network) return;
            CloseDevice();
            m_deviceLost = true;
        },
        Qt::QueuedConnection);
}

void TComPort::SetActive(bool active) {
    if (active == Active()) return;
    if (active) {
        OpenDevice();  // a failed open keeps a lost device lost, so that it is tried again
    } else {
        CloseDevice();
    }
    m_deviceLost = false;
}

void TComPort::OpenDevice() {
    if (IsNetworkDeviceName(m_deviceName)) return OpenNetwork();
    // The serial library makes and removes a lock file first: not worth it for nothing there.
    if (!DeviceExists()) Fail(SystemError(ENOENT));
    // Opened by its own path, so that the serial library's lock file is named after the device
    // (LCK..ttyUSB0), not after the link it was reached through.
    m_port.setPortName(DeviceItself(m_deviceName));
    errno = 0;
    bool opened = m_port.open(QIODevice::ReadWrite);
    int code = opened ? 0 : OpenErrorCode(m_port.error(), errno, m_deviceName);
    if (code == kOpenInThisProgram && !DevicesOpenHere().contains(DeviceItself(m_deviceName)) &&
        RemoveOwnSerialLock(m_deviceName)) {
        m_port.clearError();
        errno = 0;
        opened = m_port.open(QIODevice::ReadWrite);
        code = opened ? 0 : OpenErrorCode(m_port.error(), errno, m_deviceName);
    }
    if (!opened) {
        const QString message = m_port.errorString();
        m_port.clearError();
        Fail(EComError(code, message));
    }
    // Qt's lock file keeps out programs that look for it; the lock on the open file keeps out
    // those that lock the device itself, and a second port object of this program, whatever the
    // lock folder allows and whatever path they took to the device.
    if (flock(DeviceHandle(), LOCK_EX | LOCK_NB) != 0) {
        const int held = errno;
        m_port.close();
        Fail(SystemError(held));
    }
    m_locked = true;
    m_openPath = DeviceItself(m_deviceName);
    DevicesOpenHere().insert(m_openPath);
    PurgeInput();
    PurgeOutput();
    ApplyLineSettings();
}

void TComPort::ApplyLineSettings() {
    const bool applied = m_port.setBaudRate(m_baudRate) && m_port.setDataBits(QSerialPort::Data8) &&
                         m_port.setParity(QSerialPort::NoParity) &&
                         m_port.setStopBits(QSerialPort::OneStop) &&
                         m_port.setFlowControl(QSerialPort::NoFlowControl);
    if (!applied) {
        // The library's error enumeration is no system code (its values would read as EACCES,
        // EAGAIN, ...): the message says what failed.
        const EComError error(EIO, m_port.errorString());
        m_port.clearError();
        CloseDevice();
        Fail(error);
    }
}

void TComPort::CloseDevice() {
    // The connection ends now, for a port opened next on the same server (the download's);
    // the object is destroyed later: this may run inside one of its signals.
    if (m_network) {
        m_network->Close();
        m_network.release()->deleteLater();
    }
    if (!m_port.isOpen()) return;
    if (m_locked) flock(DeviceHandle(), LOCK_UN);
    m_locked = false;
    DevicesOpenHere().remove(m_openPath);
    m_openPath.clear();
    m_port.close();
}

void TComPort::SetDeviceName(const QString& name) {
    if (Active()) Fail(EComError(0, kOpenPortMessage));
    m_deviceName = name;
}

void TComPort::SetBaudRate(int bitsPerSecond) {
    m_baudRate = bitsPerSecond;
    if (m_network) return OnNetwork([&](NetworkLine& line) { line.SetBaudRate(bitsPerSecond); });
    if (Active()) ApplyLineSettings();
}

bool TComPort::DeviceExists() const {
    // A server is there or not only when asked: connecting tells.
    return IsNetworkDeviceName(m_deviceName) || QFileInfo::exists(m_deviceName);
}

int TComPort::DeviceHandle() const { return static_cast<int>(m_port.handle()); }

void TComPort::RequireOpen() {
    if (!Active()) Fail(EComError(0, kClosedPortMessage));
}

int TComPort::InputCount() {
    if (!Active()) return 0;
    if (m_network) return OnNetwork([](NetworkLine& line) { return line.InputCount(); });
    int inDriver = 0;
    if (ioctl(DeviceHandle(), FIONREAD, &inDriver) != 0) inDriver = 0;
    return static_cast<int>(m_port.bytesAvailable()) + inDriver;
}

int TComPort::Read(char* buffer, int count) {
    RequireOpen();
    if (m_network) return OnNetwork([&](NetworkLine& line) { return line.Read(buffer, count); });
    // Bytes the event loop already collected come first, then those still in the driver.
    int got = static_cast<int>(m_port.read(buffer, count));
    if (got < 0) got = 0;
    while (got < count) {
        const ssize_t n = ::read(DeviceHandle(), buffer + got, static_cast<size_t>(count - got));
        if (n > 0) {
            got += static_cast<int>(n);
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            break;  // nothing more queued: reads never wait
        }
    }
    if (got > 0)
        qCDebug(lcLink).noquote() << m_deviceName << "received"
                                  << QByteArray(buffer, got).toHex(' ');
    return got;
}

void TComPort::Write(const char* data, int count) {
    RequireOpen();
    if (m_network) return OnNetwork([&](NetworkLine& line) { line.Write(data, count); });
    qCDebug(lcLink).noquote() << m_deviceName << "sent" << QByteArray(data, count).toHex(' ');
    int written = 0;
    while (written < count) {
        const ssize_t n =
            ::write(DeviceHandle(), data + written, static_cast<size_t>(count - written));
        if (n > 0) {
            written += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN) Fail(SystemError(errno));
        // The driver's output queue is full: wait for room, but not for ever.
        pollfd room{DeviceHandle(), POLLOUT, 0};
        if (poll(&room, 1, static_cast<int>(kWriteLimit.count())) <= 0)
            Fail(EComError(0, kTimeoutMessage));
    }
}

void TComPort::PurgeInput() {
    if (m_network) return OnNetwork([](NetworkLine& line) { line.PurgeInput(); });
    if (Active()) m_port.clear(QSerialPort::Input);
}

void TComPort::PurgeOutput() {
    // A network line's writes have left when they return: nothing waits to be purged.
    if (Active() && !m_network) m_port.clear(QSerialPort::Output);
}

bool TComPort::WaitForReadable(std::chrono::milliseconds limit) {
    if (!Active()) {
        // Nothing can arrive; callers polling in a loop must still not spin.
        std::this_thread::sleep_for(limit);
        return false;
    }
    if (m_network) return OnNetwork([&](NetworkLine& line) { return line.WaitForReadable(limit); });
    if (m_port.bytesAvailable() > 0) return true;
    pollfd input{DeviceHandle(), POLLIN, 0};
    return poll(&input, 1, static_cast<int>(limit.count())) > 0 && (input.revents & POLLIN);
}

bool TComPort::HungUp() const {
    pollfd state{DeviceHandle(), POLLIN, 0};
    return poll(&state, 1, 0) > 0 && (state.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
}

void TComPort::Fail(const EComError& error) {
    TErrorAction action = TErrorAction::Report;
    if (m_onError) m_onError(*this, error, action);
    if (action == TErrorAction::AbortSilently) throw EAbort(error.Message(), error.Code());
    throw error;
}

void TComPort::OnReadyRead() {
    // Copied: the handler may clear itself or close the port.
    if (const RxCharHandler handler = m_onRxChar) handler(*this);
}

void TComPort::OnSerialError(QSerialPort::SerialPortError error) {
    // Only a device that went away is reported from here (a hung-up terminal fails its reads
    // with a read error, a removed adapter with a resource error); every other failure surfaces
    // as the result of the call that caused it.
    if (error != QSerialPort::ResourceError && error != QSerialPort::ReadError) return;
    if (!Active() || !HungUp()) {
        m_port.clearError();  // a read that merely found nothing to read
        return;
    }
    const EComError failure(static_cast<int>(error), m_port.errorString());
    m_port.clearError();
    if (m_onError) {
        TErrorAction action = TErrorAction::Report;
        m_onError(*this, failure, action);
    }
    // Closing from inside the port's own signal is unsafe; hand it to the next event.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (!Active()) return;
            CloseDevice();
            m_deviceLost = true;
        },
        Qt::QueuedConnection);
}

}  // namespace kr820::link
