// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace kr820::emulator {

// A pseudo-terminal pair: the emulator talks on the master, the application opens the slave
// path as if it were a serial port.
class PseudoTerminal {
public:
    PseudoTerminal() = default;
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    bool Open(std::string* error);
    void Close();

    bool IsOpen() const { return master_ >= 0; }
    int MasterFd() const { return master_; }  // non-blocking
    const std::string& SlavePath() const { return slavePath_; }

private:
    int master_ = -1;
    // Held open for the pair's whole life: when the last slave descriptor closes the master
    // reads a hang-up, and the application closes and reopens the port several times.
    int slave_ = -1;
    std::string slavePath_;
};

}  // namespace kr820::emulator
