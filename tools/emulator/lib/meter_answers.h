// SPDX-License-Identifier: MIT
// What the meter sends back for each command it receives, from the state it keeps. No line, no
// thread and no clock here: the emulator's service thread asks it under its lock, and tests can
// put it behind a scripted port.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "live_reply.h"
#include "logger_transfer.h"
#include "meter_model.h"
#include "reply_dispatcher.h"
#include "setup_answers.h"

namespace kr820::emulator {

class MeterAnswers {
public:
    MeterAnswers();  // the default memory and setup record, a scripted state of zeros, no faults
    MeterAnswers(const MeterAnswers&) = delete;
    MeterAnswers& operator=(const MeterAnswers&) = delete;

    // The bytes to send back for one command body; empty for none. `sinceSwitchOn` is the
    // meter's time, which moves its readings and its clock.
    std::string Answer(std::string_view body, std::chrono::milliseconds sinceSwitchOn);

    MeterModel& Model() { return m_model; }
    const MeterModel& Model() const { return m_model; }
    // The scripted state; the record's thermocouple and auto power-off bytes follow it.
    void SetScripted(const MeterState& state);
    LiveReplyFaults& Faults() { return m_faults; }
    const LiveReplyFaults& Faults() const { return m_faults; }
    // The answer to "K", sent as it stands.
    void SetModelReply(std::string reply) { m_modelReply = std::move(reply); }
    LoggerTransfer& Logger() { return m_logger; }
    const LoggerTransfer& Logger() const { return m_logger; }

    // The setup record as "O" would answer it at `now`, its memory texts following the memory.
    std::string SetupRecord(std::chrono::milliseconds now);
    // Kept byte for byte (memory texts too, until the memory next changes); the clock restarts
    // from its bytes, and the scripted state takes the thermocouple and auto power-off.
    void SetSetupRecord(std::string record, std::chrono::milliseconds now);
    SetupFaults& GetSetupFaults() { return m_setup.Faults(); }
    const SetupFaults& GetSetupFaults() const { return m_setup.Faults(); }

private:
    // The first byte alone would let "HEAX" start a download step; the meter wants the word.
    void RegisterDownload(std::string_view word, std::string (LoggerTransfer::*step)());
    // The thermocouple and auto power-off are one setting each, shown live and kept in the
    // record; these carry a change from one side to the other.
    void StateFollowsSetup();
    void SetupFollowsState();
    void RefreshMemoryTexts();

    MeterModel m_model;
    LiveReplyFaults m_faults;
    std::string m_modelReply;
    LoggerTransfer m_logger;
    SetupAnswers m_setup;
    std::optional<std::uint64_t> m_memoryTextsOf;  // the logger's MemoryChanges() they describe
    ReplyDispatcher m_replies;
    std::chrono::milliseconds m_now{0};
};

}  // namespace kr820::emulator
