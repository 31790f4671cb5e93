// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <stdexcept>

namespace kr820::link {

// A failed operation of a serial port object, with the operating system's error code (0 when the
// failure is the port object's own, such as using a closed port) and its message text.
class EComError : public std::runtime_error {
public:
    EComError(int code, const QString& message)
        : std::runtime_error(message.toStdString()), m_code(code), m_message(message) {}
    int Code() const { return m_code; }
    const QString& Message() const { return m_message; }

private:
    int m_code;
    QString m_message;
};

// The silent exception: an operation abandoned on purpose. Whoever catches it shows nothing to
// the user; the reason is kept for the log, and the system's error code (0 when none) for the
// callers that act on it.
class EAbort : public std::exception {
public:
    EAbort() = default;
    explicit EAbort(QString reason, int code = 0) : m_reason(std::move(reason)), m_code(code) {}
    const char* what() const noexcept override { return "Operation aborted"; }
    const QString& Reason() const { return m_reason; }
    int Code() const { return m_code; }

private:
    QString m_reason;
    int m_code = 0;
};

// What a port's error handler decides: let the error propagate, or abandon silently.
enum class TErrorAction { Report, AbortSilently };

inline const QString kOpenPortMessage =
    QStringLiteral("Can't perform this operation on an open port");
inline const QString kClosedPortMessage =
    QStringLiteral("Can't perform this operation on a closed port");
inline const QString kTimeoutMessage = QStringLiteral("Timeout");

}  // namespace kr820::link
