// SPDX-License-Identifier: MIT
// A pseudo-terminal number whose lock file a live process still holds is not handed out: a
// program opening it would find it "in use". Tests running side by side met that.
#include "pseudo_terminal.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace kr820::emulator {
namespace {

// The number the kernel gives next: opened and closed again at once.
std::string NextSlavePath() {
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    char path[256] = {};
    ptsname_r(master, path, sizeof path);
    close(master);
    return path;
}

TEST(PseudoTerminalTest, ANumberLockedByALiveProcessIsPassedOver) {
    if (access("/var/lock", W_OK) != 0) GTEST_SKIP() << "no lock folder this user may write";
    const pid_t holder = fork();  // a live process that is not this one
    if (holder == 0) {
        pause();
        _exit(0);
    }
    const std::string locked = NextSlavePath();
    std::string name = locked.substr(5);
    name[name.find('/')] = '_';
    const std::string lockFile = "/var/lock/LCK.." + name;
    std::ofstream(lockFile) << "      " << holder << "\nkr820-cli\n\n";

    PseudoTerminal pair;
    std::string error;
    ASSERT_TRUE(pair.Open(&error)) << error;
    EXPECT_NE(pair.SlavePath(), locked);

    std::remove(lockFile.c_str());
    kill(holder, SIGKILL);
    waitpid(holder, nullptr, 0);
}

// A program waiting for an unplugged meter keeps trying its device: another emulator must not
// appear there a moment later and be taken for it.
TEST(PseudoTerminalTest, AJustUnpluggedNumberIsPassedOver) {
    const std::string unplugged = NextSlavePath();
    MarkUnplugged(unplugged);

    PseudoTerminal pair;
    std::string error;
    ASSERT_TRUE(pair.Open(&error)) << error;
    EXPECT_NE(pair.SlavePath(), unplugged);

    std::string name = unplugged.substr(5);
    name[name.find('/')] = '_';
    std::remove(("/tmp/kr820-emulator-unplugged/" + name).c_str());
}

}  // namespace
}  // namespace kr820::emulator
