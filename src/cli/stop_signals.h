// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>
#include <functional>

class QSocketNotifier;

namespace kr820::cli {

// SIGINT and SIGTERM turned into a stop request. The handler notes the signal and writes a byte
// to a pipe: an event loop hears the pipe, and the waits on the meter, which run no events, read
// the note.
class StopSignals : public QObject {
    Q_OBJECT

public:
    StopSignals();
    ~StopSignals() override;

    // Installs the handlers; once per program. SIGQUIT is given back its default, which a shell
    // that starts a job in the background sets to ignored.
    bool Install();
    bool Requested() const;
    // What the handlers do, for tests and for callers that stop on their own.
    void Request();

    // The signal that asked the program to stop, 0 when none did.
    static int Received();

signals:
    void StopRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
    bool m_requested = false;
};

// Whether a stop was asked for, for waits that run no events; empty: whether SIGINT or SIGTERM
// came (StopSignals::Received).
using Stopping = std::function<bool()>;
bool IsStopping(const Stopping& stopping);

}  // namespace kr820::cli
