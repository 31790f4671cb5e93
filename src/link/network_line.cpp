// SPDX-License-Identifier: MIT
#include "link/network_line.h"

#include <poll.h>
#include <sys/socket.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
#include <QMetaObject>
#include <QTimer>
#include <cerrno>
#include <cstring>
#include <thread>

#include "link/com_error.h"
#include "link/link_log.h"

namespace kr820::link {
namespace {

constexpr std::chrono::milliseconds kWriteLimit{1000};

int SystemCodeOf(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::ConnectionRefusedError:
            return ECONNREFUSED;
        case QAbstractSocket::RemoteHostClosedError:
            return ECONNRESET;
        case QAbstractSocket::HostNotFoundError:
            return EHOSTUNREACH;
        case QAbstractSocket::SocketTimeoutError:
            return ETIMEDOUT;
        case QAbstractSocket::NetworkError:
            return ENETUNREACH;
        case QAbstractSocket::SocketAccessError:
            return EACCES;
        default:
            return EIO;
    }
}

// Runs events but the user's input until `done` holds or `limit` passes.
template <typename Condition>
bool RunEventsUntil(QObject& watched, Condition done, std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < limit.count()) {
        QEventLoop loop;
        QTimer::singleShot(std::chrono::milliseconds(20), &loop, &QEventLoop::quit);
        QObject::connect(&watched, &QObject::destroyed, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    return done();
}

// When this program last closed a connection to each device: a server lets go of a connection a
// moment after it ends, and until then takes the next one for another client's.
QHash<QString, QElapsedTimer>& ClosedHere() {
    static QHash<QString, QElapsedTimer> closed;
    return closed;
}

constexpr std::chrono::milliseconds kServerLetsGo{3000};

}  // namespace

NetworkLine::NetworkLine(NetworkDevice device, QString name, QObject* parent)
    : QObject(parent), m_device(std::move(device)), m_name(std::move(name)) {
    connect(&m_socket, &QTcpSocket::readyRead, this, &NetworkLine::OnReadyRead);
    connect(&m_socket, &QTcpSocket::disconnected, this,
            [this] { NoteLost(ECONNRESET, QStringLiteral("the server closed the connection")); });
    connect(&m_socket, &QTcpSocket::errorOccurred, this, [this](QAbstractSocket::SocketError e) {
        if (!m_connecting) NoteLost(SystemCodeOf(e), m_socket.errorString());
    });
}

NetworkLine::~NetworkLine() { Close(); }

void NetworkLine::Close() {
    m_socket.disconnect(this);
    if (m_socket.state() != QAbstractSocket::UnconnectedState) ClosedHere()[m_name].start();
    m_socket.abort();
}

int NetworkLine::Handle() const { return static_cast<int>(m_socket.socketDescriptor()); }

void NetworkLine::Connect(int bitsPerSecond) {
    for (;;) {
        try {
            return ConnectOnce(bitsPerSecond);
        } catch (const EComError& error) {
            // Our own connection just closed may still hold the server: asked again shortly.
            const auto closed = ClosedHere().constFind(m_name);
            if (error.Code() != EBUSY || closed == ClosedHere().cend() ||
                closed->elapsed() > kServerLetsGo.count())
                throw;
        }
        m_socket.abort();
        m_input.clear();
        m_telnet = TelnetComPort();
        m_lost = false;
        QEventLoop pause;
        QTimer::singleShot(std::chrono::milliseconds(50), &pause, &QEventLoop::quit);
        pause.exec(QEventLoop::ExcludeUserInputEvents);
    }
}

void NetworkLine::ConnectOnce(int bitsPerSecond) {
    m_connecting = true;
    m_socket.connectToHost(m_device.host, m_device.port);
    WaitConnected();
    m_socket.setSocketOption(QAbstractSocket::LowDelayOption, 1);  // commands are a few bytes
    m_socket.setSocketOption(QAbstractSocket::KeepAliveOption, 1);
    if (Telnet()) NegotiateComPort(bitsPerSecond);
    m_connecting = false;
    if (m_lost) Fail(EBUSY, InUseReason());
}

QString NetworkLine::InUseReason() const {
    // ser2net's words; other servers close without a word.
    const qsizetype said = m_input.indexOf("in use");
    if (said >= 0)
        return QStringLiteral("the server says \"%1\": another client has the meter")
            .arg(QString::fromLatin1(m_input.left(m_input.indexOf('\r', said))).trimmed());
    return QStringLiteral(
        "the server closed the connection at once: another client may have "
        "the meter");
}

void NetworkLine::WaitConnected() {
    const bool settled = RunEventsUntil(
        m_socket,
        [this] {
            return m_socket.state() == QAbstractSocket::ConnectedState ||
                   m_socket.state() == QAbstractSocket::UnconnectedState;
        },
        kConnectLimit);
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        // A server with a client already takes the connection, says so and closes it.
        Pull();
        if (m_lost) Fail(EBUSY, InUseReason());
        return;
    }
    if (m_socket.error() == QAbstractSocket::RemoteHostClosedError) {
        Pull();
        Fail(EBUSY, InUseReason());
    }
    if (!settled)
        Fail(ETIMEDOUT, QStringLiteral("no answer from %1 within %2 s")
                            .arg(m_device.host)
                            .arg(kConnectLimit.count() / 1000));
    Fail(SystemCodeOf(m_socket.error()), m_socket.errorString());
}

void NetworkLine::NegotiateComPort(int bitsPerSecond) {
    SendWire(m_telnet.Greeting());
    RunEventsUntil(
        m_socket,
        [this] {
            Pull();
            return m_lost || m_telnet.ComPort() != TelnetComPort::ComPortOption::Unknown;
        },
        kConnectLimit);
    switch (m_telnet.ComPort()) {
        case TelnetComPort::ComPortOption::Accepted:
            SendWire(TelnetComPort::LineSettings(bitsPerSecond));
            return;
        case TelnetComPort::ComPortOption::Refused:
            Fail(EPROTO, QStringLiteral("the server refuses RFC 2217's COM port control; a raw "
                                        "port is named tcp://"));
        case TelnetComPort::ComPortOption::Unknown:
            // A server that takes the connection and drops it at once has another client.
            if (m_lost) Fail(EBUSY, InUseReason());
            Fail(ETIMEDOUT, QStringLiteral("no RFC 2217 answer within %1 s; a raw port is named "
                                           "tcp://")
                                .arg(kConnectLimit.count() / 1000));
    }
}

void NetworkLine::SetBaudRate(int bitsPerSecond) {
    if (Telnet()) SendWire(TelnetComPort::SetBaudRate(bitsPerSecond));
}

void NetworkLine::OnReadyRead() {
    Pull();
    if (!m_connecting && !m_input.isEmpty()) emit readable();
}

void NetworkLine::Pull() {
    char buffer[4096];
    // What the socket's notifications already collected came first.
    while (m_socket.bytesAvailable() > 0) {
        const qint64 n = m_socket.read(buffer, sizeof buffer);
        if (n <= 0) break;
        Take(buffer, n);
    }
    if (m_socket.state() != QAbstractSocket::ConnectedState || m_lost) return;
    for (;;) {
        const ssize_t n = ::recv(Handle(), buffer, sizeof buffer, MSG_DONTWAIT);
        if (n > 0) {
            Take(buffer, n);
        } else if (n == 0) {
            NoteLost(ECONNRESET, QStringLiteral("the server closed the connection"));
            return;
        } else if (errno == EINTR) {
            continue;
        } else {
            if (errno != EAGAIN && errno != EWOULDBLOCK)
                NoteLost(errno, QString::fromLocal8Bit(strerror(errno)));
            return;
        }
    }
}

void NetworkLine::Take(const char* bytes, qsizetype count) {
    if (!Telnet()) {
        m_input.append(bytes, count);
        return;
    }
    m_input += m_telnet.Decode(QByteArrayView(bytes, count));
    const QByteArray replies = m_telnet.TakeReplies();
    if (!replies.isEmpty() && !m_lost) {
        try {
            SendWire(replies);
        } catch (const EComError&) {
            // The loss is told through the event loop.
        }
    }
}

int NetworkLine::InputCount() {
    Pull();
    return static_cast<int>(m_input.size());
}

int NetworkLine::Read(char* buffer, int count) {
    Pull();
    const int got = std::min(count, static_cast<int>(m_input.size()));
    std::memcpy(buffer, m_input.constData(), static_cast<size_t>(got));
    m_input.remove(0, got);
    if (got > 0)
        qCDebug(lcLink).noquote() << m_name << "received" << QByteArray(buffer, got).toHex(' ');
    return got;
}

void NetworkLine::Write(const char* data, int count) {
    qCDebug(lcLink).noquote() << m_name << "sent" << QByteArray(data, count).toHex(' ');
    const QByteArray bytes(data, count);
    SendWire(Telnet() ? TelnetComPort::Escape(bytes) : bytes);
}

void NetworkLine::SendWire(const QByteArray& bytes) {
    if (m_lost || m_socket.state() != QAbstractSocket::ConnectedState)
        Fail(ENOTCONN, QStringLiteral("the connection is closed"));
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n =
            ::send(Handle(), bytes.constData() + sent, static_cast<size_t>(bytes.size() - sent),
                   MSG_DONTWAIT | MSG_NOSIGNAL);
        if (n > 0) {
            sent += n;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) {
            const int code = errno;
            NoteLost(code, QString::fromLocal8Bit(strerror(code)));
            Fail(code, QString::fromLocal8Bit(strerror(code)));
        }
        // The socket's send buffer is full: wait for room, but not for ever.
        pollfd room{Handle(), POLLOUT, 0};
        if (poll(&room, 1, static_cast<int>(kWriteLimit.count())) <= 0) Fail(0, kTimeoutMessage);
    }
}

void NetworkLine::PurgeInput() {
    Pull();
    m_input.clear();
}

bool NetworkLine::WaitForReadable(std::chrono::milliseconds limit) {
    QElapsedTimer clock;
    clock.start();
    for (;;) {
        Pull();
        if (!m_input.isEmpty()) return true;
        const qint64 left = limit.count() - clock.elapsed();
        if (left <= 0) return false;
        if (m_lost || m_socket.state() != QAbstractSocket::ConnectedState) {
            // Nothing can arrive; callers polling in a loop must still not spin.
            std::this_thread::sleep_for(std::chrono::milliseconds(left));
            return false;
        }
        pollfd input{Handle(), POLLIN, 0};
        poll(&input, 1, static_cast<int>(left));
    }
}

void NetworkLine::NoteLost(int code, QString reason) {
    if (m_lost) return;
    m_lost = true;
    if (m_connecting) return;  // Connect fails with its own reason
    if (m_input.contains("in use")) {
        code = EBUSY;
        reason = InUseReason();
    }
    QMetaObject::invokeMethod(
        this, [this, code, reason] { emit lost(code, reason); }, Qt::QueuedConnection);
}

void NetworkLine::Fail(int code, const QString& reason) { throw EComError(code, reason); }

}  // namespace kr820::link
