// SPDX-License-Identifier: MIT
#pragma once

namespace kr820::cli {

// What kr820-cli ends with, so that a script or a cron job can tell one failure from another.
// The numbers are part of the program's interface: never renumber them.
enum class ExitCode : int {
    Success = 0,
    Failed = 1,             // a file could not be read or written, or a value was refused
    Usage = 2,              // unknown command or option, missing or bad argument
    NoMeter = 3,            // no meter answered
    MeterRecording = 4,     // the meter is logging; stop it first
    NothingRecorded = 5,    // the meter's memory holds no data set
    HeaderNotAnswered = 6,  // the meter did not answer the memory header request
    TransferFailed = 7,     // the memory transfer broke off
    NotDecodable = 8,       // the memory (or file) holds a damaged data set or a bad set count
    MeterRefused = 9,       // the meter did not answer or confirm a setup, clock or erase exchange
    Interrupted = 130,      // stopped by SIGINT (Ctrl+C), as a shell reports it
    Terminated = 143,       // stopped by SIGTERM
};

constexpr int ToInt(ExitCode code) { return static_cast<int>(code); }

}  // namespace kr820::cli
