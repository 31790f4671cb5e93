// SPDX-License-Identifier: MIT
// A KR820 on a pseudo-terminal: the application opens DevicePath() as its serial port and the
// emulator answers from the meter state it keeps.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "command_frame.h"
#include "meter_replies.h"
#include "meter_state.h"

namespace kr820::emulator {

// Start and Stop belong to the thread that owns the emulator; everything else may be called
// from any thread while it runs.
class MeterEmulator {
public:
    MeterEmulator();
    ~MeterEmulator();  // stops the service thread and closes the pseudo-terminal
    MeterEmulator(const MeterEmulator&) = delete;
    MeterEmulator& operator=(const MeterEmulator&) = delete;

    // Opens a pseudo-terminal in raw mode and starts answering on it. Fails when already running.
    bool Start(std::string* error);
    // Stops answering, removes the symlinks made by MakeSymlink and closes the pseudo-terminal.
    void Stop();
    bool IsRunning() const;

    std::string DevicePath() const;  // the slave, e.g. /dev/pts/7; empty when not running
    // Points linkPath at the device, replacing a symlink already there; needs Start first.
    bool MakeSymlink(const std::string& linkPath, std::string* error);

    void SetState(const MeterState& state);
    MeterState State() const;
    void SetSilent(bool silent);  // a meter that receives everything and answers nothing

    // Bodies of the valid command frames received so far, in order, answered or not.
    std::vector<std::string> ReceivedBodies() const;
    // Raw bytes read from the line, junk included.
    std::size_t BytesReceived() const;
    // Forgets the bodies and the byte count.
    void ClearReceived();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace kr820::emulator
