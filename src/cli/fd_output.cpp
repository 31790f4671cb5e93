// SPDX-License-Identifier: MIT
#include "cli/fd_output.h"

#include <unistd.h>

#include <cerrno>

#include "core/files/save_file.h"

namespace kr820::cli {

qint64 FdOutput::writeData(const char* data, qint64 size) {
    qint64 done = 0;
    while (done < size) {
        const ssize_t n = ::write(m_fd, data + done, static_cast<size_t>(size - done));
        if (n > 0) {
            done += n;
            m_written = true;
        } else if (n < 0 && errno == EINTR) {
            continue;
        } else {
            setErrorString(core::WriteFailureReason(n < 0 ? errno : EIO));
            return -1;
        }
    }
    return done;
}

bool FdOutput::Finish() {
    if (::close(m_fd) == 0 || (errno == EBADF && !m_written)) return true;
    setErrorString(core::WriteFailureReason(errno));
    return false;
}

}  // namespace kr820::cli
