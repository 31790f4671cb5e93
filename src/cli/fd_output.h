// SPDX-License-Identifier: MIT
#pragma once

#include <QIODevice>

namespace kr820::cli {

// Standard output as the program writes it: every write reaches the system at once and a failed
// one keeps the system's reason, which a buffered stream would lose or report too late.
class FdOutput final : public QIODevice {
public:
    explicit FdOutput(int fd) : m_fd(fd) {}

    bool isSequential() const override { return true; }
    // Closes the descriptor: a file system that reports a failed write late does it here. False
    // with the reason in errorString(); a descriptor never written to and already closed is no
    // failure.
    bool Finish();

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override;

private:
    int m_fd;
    bool m_written = false;
};

}  // namespace kr820::cli
