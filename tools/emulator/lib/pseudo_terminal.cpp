// SPDX-License-Identifier: MIT
#include "pseudo_terminal.h"

#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace kr820::emulator {
namespace {

void Fail(std::string* error, const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
}

bool AddFlags(int fd, int getCmd, int setCmd, int flags) {
    const int old = fcntl(fd, getCmd);
    return old >= 0 && fcntl(fd, setCmd, old | flags) == 0;
}

}  // namespace

PseudoTerminal::~PseudoTerminal() { Close(); }

bool PseudoTerminal::Open(std::string* error) {
    Close();
    const auto fail = [this, error](const char* what) {
        Fail(error, what);
        Close();
        return false;
    };
    m_master = posix_openpt(O_RDWR | O_NOCTTY);
    if (m_master < 0) return fail("posix_openpt");
    if (grantpt(m_master) != 0 || unlockpt(m_master) != 0) return fail("grantpt/unlockpt");
    char path[256];
    if (ptsname_r(m_master, path, sizeof path) != 0) return fail("ptsname");
    m_slavePath = path;
    m_slave = open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) return fail("open slave");
    // Raw before anyone else opens the slave: the default line discipline would echo commands
    // back to the application and swallow or translate control bytes such as 0x03 and 0x0D.
    termios settings{};
    if (tcgetattr(m_slave, &settings) != 0) return fail("tcgetattr");
    cfmakeraw(&settings);
    if (tcsetattr(m_slave, TCSANOW, &settings) != 0) return fail("tcsetattr");
    if (!AddFlags(m_master, F_GETFL, F_SETFL, O_NONBLOCK) ||
        !AddFlags(m_master, F_GETFD, F_SETFD, FD_CLOEXEC)) {
        return fail("fcntl master");
    }
    return true;
}

void PseudoTerminal::Close() {
    if (m_slave >= 0) close(m_slave);
    if (m_master >= 0) close(m_master);
    m_slave = -1;
    m_master = -1;
    m_slavePath.clear();
}

}  // namespace kr820::emulator
