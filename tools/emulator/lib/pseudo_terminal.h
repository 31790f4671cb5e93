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

    bool IsOpen() const { return m_master >= 0; }
    int MasterFd() const { return m_master; }  // non-blocking
    const std::string& SlavePath() const { return m_slavePath; }

private:
    bool OpenPair(std::string* error);

    int m_master = -1;
    // Held open for the pair's whole life: when the last slave descriptor closes the master
    // reads a hang-up, and the application closes and reopens the port several times.
    int m_slave = -1;
    std::string m_slavePath;
};

// Notes that the device `slavePath` was just unplugged: for a minute no emulator takes its
// number, since a program may still be trying it for the meter that went.
void MarkUnplugged(const std::string& slavePath);

}  // namespace kr820::emulator
