// SPDX-License-Identifier: MIT
#pragma once

#include <QObject>

class QSocketNotifier;

namespace kr820::cli {

// SIGINT and SIGTERM turned into a signal on the event loop: the handler only writes a byte to a
// pipe, and the loop reads it, so that a command can finish the line in hand and close its files.
class StopSignals : public QObject {
    Q_OBJECT

public:
    StopSignals();
    ~StopSignals() override;

    // Installs the handlers; once per program.
    bool Install();
    bool Requested() const { return m_requested; }
    // What the handlers do, for tests and for callers that stop on their own.
    void Request();

signals:
    void StopRequested();

private:
    QSocketNotifier* m_notifier = nullptr;
    bool m_requested = false;
};

}  // namespace kr820::cli
