// SPDX-License-Identifier: MIT
// A KR820 on a pseudo-terminal: the application opens DevicePath() as its serial port and the
// emulator answers from the meter state it keeps.
#pragma once

#include <chrono>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "command_frame.h"
#include "live_reply.h"
#include "logger_transfer.h"
#include "meter_model.h"
#include "meter_replies.h"
#include "meter_state.h"
#include "setup_answers.h"

namespace kr820::emulator {

// One byte at 19200 baud: a start bit, eight data bits, a stop bit.
inline constexpr std::chrono::nanoseconds kByteTimeAt19200{520'833};

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
    bool IsRunning() const;  // between Start and Stop, plugged or not

    // The slave, e.g. /dev/pts/7; a new one after each Plug; empty when not running or unplugged.
    std::string DevicePath() const;
    // Points linkPath at the device, replacing a symlink already there; needs Start first.
    bool MakeSymlink(const std::string& linkPath, std::string* error);

    // The cable pulled: the pseudo-terminal closes, so a port open on it sees a hang-up, and the
    // symlinks go away. The emulator keeps running and keeps its state and motion.
    void Unplug();
    // The cable back in: a new pseudo-terminal, and every symlink made by MakeSymlink now
    // points at it, so the application reopens the meter by the link's path.
    bool Plug(std::string* error);
    bool IsPlugged() const;

    // The scripted state; with motion on, its readings are what the waves swing around. A change
    // of thermocouple or auto power-off reaches the setup record too.
    void SetState(const MeterState& state);
    MeterState State() const;
    // Times in the motion count from the emulator's construction: the meter switched on.
    void SetMotion(const Motion& motion);
    Motion GetMotion() const;
    // What a poll would be answered with now: the scripted state moved by the motion.
    MeterState ReportedState() const;
    void SetSilent(bool silent);  // a meter that receives everything and answers nothing
    bool IsSilent() const;

    // Faults on the line, all off at first.
    void SetModelReply(std::string reply);  // the answer to "K", sent as it stands
    void SetNoise(std::string junk);        // written in front of every live frame
    // Above zero: live answers go out in pieces of kSplitPieceBytes, this far apart.
    void SetSplitGap(std::chrono::milliseconds gap);
    void SetDoubleFrames(bool doubleFrames);  // every poll answered with two frames in one write
    void SetWrongLastByte(int frames);  // the next `frames` live frames end with kWrongLastByte
    LiveReplyFaults Faults() const;

    // The logger memory as a collection file holds it: the 26-byte header reply and zeros up
    // to byte 256, then the memory (BuildMemoryImage makes one). The header reply goes out as
    // it stands; the download sends as many blocks as its end address announces. False for an
    // image too short to hold its header. A new memory ends a download under way; "CLRM"
    // empties it. At first it holds DefaultDataSets().
    bool SetMemory(std::string image, std::string* error = nullptr);
    std::string Memory() const;
    void SetDownloadFaults(const DownloadFaults& faults);  // all off at first
    DownloadFaults GetDownloadFaults() const;

    // The 86-byte setup record as "O" would answer it now: the clock's bytes (61 to 66) running
    // since it was set (at first the computer's local time), the memory texts (70 and 75)
    // following the logger memory. Setup writes change bytes 1 to 50.
    std::string SetupRecord() const;
    // Kept byte for byte, memory texts too until the memory next changes; the clock runs on
    // from bytes 61 to 66 (or holds them when they are no date-time); the thermocouple (47) and
    // auto power-off (34) bytes reach the live state. False unless it is 86 bytes.
    bool SetSetupRecord(std::string record, std::string* error = nullptr);
    void SetSetupFaults(const SetupFaults& faults);  // all off at first
    SetupFaults GetSetupFaults() const;

    // How long each byte the meter sends takes on the line, e.g. kByteTimeAt19200, so that a
    // user's wait can be measured. Zero, the default: as fast as the pseudo-terminal takes them.
    void SetByteTime(std::chrono::nanoseconds perByte);
    std::chrono::nanoseconds ByteTime() const;

    // Bodies of the valid command frames received so far, in order, answered or not.
    std::vector<std::string> ReceivedBodies() const;
    // The same frames whole, STX to ETX, byte for byte as they came over the line.
    std::vector<std::string> ReceivedFrames() const;
    // Raw bytes read from the line, junk included.
    std::size_t BytesReceived() const;
    // Forgets the frames, the bodies and the byte count.
    void ClearReceived();

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

}  // namespace kr820::emulator
