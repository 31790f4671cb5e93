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
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) return fail("posix_openpt");
    if (grantpt(master_) != 0 || unlockpt(master_) != 0) return fail("grantpt/unlockpt");
    char path[256];
    if (ptsname_r(master_, path, sizeof path) != 0) return fail("ptsname");
    slavePath_ = path;
    slave_ = open(path, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) return fail("open slave");
    // Raw before anyone else opens the slave: the default line discipline would echo commands
    // back to the application and swallow or translate control bytes such as 0x03 and 0x0D.
    termios settings{};
    if (tcgetattr(slave_, &settings) != 0) return fail("tcgetattr");
    cfmakeraw(&settings);
    if (tcsetattr(slave_, TCSANOW, &settings) != 0) return fail("tcsetattr");
    if (!AddFlags(master_, F_GETFL, F_SETFL, O_NONBLOCK) ||
        !AddFlags(master_, F_GETFD, F_SETFD, FD_CLOEXEC)) {
        return fail("fcntl master");
    }
    return true;
}

void PseudoTerminal::Close() {
    if (slave_ >= 0) close(slave_);
    if (master_ >= 0) close(master_);
    slave_ = -1;
    master_ = -1;
    slavePath_.clear();
}

}  // namespace kr820::emulator
