// SPDX-License-Identifier: MIT
#include "pseudo_terminal.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <fstream>
#include <utility>
#include <vector>

namespace kr820::emulator {
namespace {

void Fail(std::string* error, const char* what) {
    if (error) *error = std::string(what) + ": " + std::strerror(errno);
}

bool AddFlags(int fd, int getCmd, int setCmd, int flags) {
    const int old = fcntl(fd, getCmd);
    return old >= 0 && fcntl(fd, setCmd, old | flags) == 0;
}

// A serial port locks its device with "LCK..pts_N" in a lock folder and removes the file only
// after closing the device. In that moment the kernel may give the same number to a new pair,
// which a program would then find "in use": such a number is passed over.
bool LockedByAnotherLiveProcess(const std::string& slavePath) {
    std::string name = slavePath.rfind("/dev/", 0) == 0 ? slavePath.substr(5) : slavePath;
    for (char& c : name)
        if (c == '/') c = '_';
    for (const char* folder : {"/var/lock", "/run/lock", "/var/lock/lockdev", "/tmp", "/var/tmp"}) {
        std::ifstream file(std::string(folder) + "/LCK.." + name);
        long pid = 0;
        if (!(file >> pid) || pid <= 0 || pid == static_cast<long>(getpid())) continue;
        if (kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM) return true;
    }
    return false;
}

// An unplugged meter's device may still be tried by the program that had it open, which waits
// for the meter to come back. Another emulator given the same number in that time would be
// taken for it, so a number unplugged within the last minute is passed over too. The marks are
// shared by every emulator on the machine.
constexpr const char* kUnpluggedFolder = "/tmp/kr820-emulator-unplugged";
constexpr std::time_t kUnpluggedSeconds = 60;

std::string UnpluggedMark(const std::string& slavePath) {
    std::string name = slavePath.rfind("/dev/", 0) == 0 ? slavePath.substr(5) : slavePath;
    for (char& c : name)
        if (c == '/') c = '_';
    return std::string(kUnpluggedFolder) + "/" + name;
}

bool RecentlyUnplugged(const std::string& slavePath) {
    struct stat mark {};
    return stat(UnpluggedMark(slavePath).c_str(), &mark) == 0 &&
           std::time(nullptr) - mark.st_mtime < kUnpluggedSeconds;
}

}  // namespace

void MarkUnplugged(const std::string& slavePath) {
    if (slavePath.empty()) return;
    mkdir(kUnpluggedFolder, 01777);
    chmod(kUnpluggedFolder, 01777);  // whatever the creator's umask: every user's emulators mark
    std::ofstream(UnpluggedMark(slavePath)) << getpid() << '\n';
}

PseudoTerminal::~PseudoTerminal() { Close(); }

bool PseudoTerminal::Open(std::string* error) {
    constexpr int kNumbersPassedOver = 16;
    std::vector<std::pair<int, int>> passedOver;  // held open so that the number is not given again
    bool opened = false;
    for (int attempt = 0; attempt <= kNumbersPassedOver; ++attempt) {
        opened = OpenPair(error);
        if (!opened || attempt == kNumbersPassedOver ||
            (!LockedByAnotherLiveProcess(m_slavePath) && !RecentlyUnplugged(m_slavePath)))
            break;
        passedOver.emplace_back(m_master, m_slave);
        m_master = -1;
        m_slave = -1;
        m_slavePath.clear();
    }
    for (const auto& [master, slave] : passedOver) {
        close(slave);
        close(master);
    }
    return opened;
}

bool PseudoTerminal::OpenPair(std::string* error) {
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
