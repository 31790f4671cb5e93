// SPDX-License-Identifier: MIT
#include "meter_answers.h"

#include "command_frame.h"
#include "default_memory.h"
#include "logger_memory_builder.h"
#include "memory_blocks.h"
#include "meter_replies.h"
#include "setup_record.h"

namespace kr820::emulator {

MeterAnswers::MeterAnswers()
    : m_modelReply(ModelReply()), m_logger(BuildMemoryImage(DefaultDataSets())) {
    RefreshMemoryTexts();
    m_replies.Register('K', [this](std::string_view) { return m_modelReply; });
    m_replies.Register('A', [this](std::string_view) {
        m_model.AdvanceTo(m_now);
        return BuildLiveReply(m_model.Reported(), &m_faults);
    });
    m_replies.Register('O', [this](std::string_view) {
        RefreshMemoryTexts();
        return m_setup.OnReadSetup(m_now);
    });
    // Writes (setup bytes, clock, reset, erase) are confirmed by echoing the whole frame.
    m_replies.Register('w', [this](std::string_view body) {
        std::string echo = m_setup.OnWriteSetup(body);
        StateFollowsSetup();
        return echo;
    });
    m_replies.Register('W',
                       [this](std::string_view body) { return m_setup.OnSetClock(body, m_now); });
    m_replies.Register('R', [](std::string_view body) { return FrameCommand(body); });
    // The erase empties the logger too, so a download after it finds nothing recorded.
    m_replies.Register('C', [this](std::string_view body) {
        if (body == "CLRM") m_logger.SetMemory(BuildMemoryImage({}));
        return FrameCommand(body);
    });
    RegisterDownload("HEAD", &LoggerTransfer::OnHeaderRequest);
    RegisterDownload("DOWN", &LoggerTransfer::OnDownload);
    RegisterDownload(std::string_view("y\x03WN", 4), &LoggerTransfer::OnAccepted);
    RegisterDownload(std::string_view("n\x03WN", 4), &LoggerTransfer::OnRefused);
}

void MeterAnswers::RegisterDownload(std::string_view word, std::string (LoggerTransfer::*step)()) {
    m_replies.Register(static_cast<std::uint8_t>(word.front()),
                       [this, word, step](std::string_view body) {
                           if (body != word) return std::string{};
                           return (m_logger.*step)();
                       });
}

std::string MeterAnswers::Answer(std::string_view body, std::chrono::milliseconds sinceSwitchOn) {
    m_now = sinceSwitchOn;
    return m_replies.Dispatch(body);
}

void MeterAnswers::SetScripted(const MeterState& state) {
    m_model.SetScripted(state);
    SetupFollowsState();
}

std::string MeterAnswers::SetupRecord(std::chrono::milliseconds now) {
    RefreshMemoryTexts();
    return m_setup.Record(now);
}

void MeterAnswers::SetSetupRecord(std::string record, std::chrono::milliseconds now) {
    m_setup.SetRecord(std::move(record), now);
    m_memoryTextsOf = m_logger.MemoryChanges();
    StateFollowsSetup();
}

void MeterAnswers::StateFollowsSetup() {
    MeterState state = m_model.Scripted();
    const bool typeJ = m_setup.Byte(kSetupThermocoupleAt) == kSetupTypeJ;
    const bool autoOff = m_setup.Byte(kSetupAutoPowerOffAt) != 0;
    const bool stateTypeJ = (state.statusB & kStatusBTypeMask) == kStatusBTypeJ;
    const bool stateAutoOff = (state.statusA & kStatusAAutoPowerOff) != 0;
    if (typeJ == stateTypeJ && autoOff == stateAutoOff) return;
    state.statusB = static_cast<std::uint8_t>((state.statusB & ~kStatusBTypeMask) |
                                              (typeJ ? kStatusBTypeJ : 0));
    state.statusA = static_cast<std::uint8_t>((state.statusA & ~kStatusAAutoPowerOff) |
                                              (autoOff ? kStatusAAutoPowerOff : 0));
    m_model.AdvanceTo(m_now);
    m_model.SetScripted(state);
}

void MeterAnswers::SetupFollowsState() {
    const MeterState& state = m_model.Scripted();
    // Only a real difference is carried over, so a record byte the meter would read the same
    // way (a thermocouple byte of 0 is K too) stays as it was set.
    const bool typeJ = (state.statusB & kStatusBTypeMask) == kStatusBTypeJ;
    if (typeJ != (m_setup.Byte(kSetupThermocoupleAt) == kSetupTypeJ))
        m_setup.SetByte(kSetupThermocoupleAt, typeJ ? kSetupTypeJ : kSetupTypeK);
    const bool autoOff = (state.statusA & kStatusAAutoPowerOff) != 0;
    if (autoOff != (m_setup.Byte(kSetupAutoPowerOffAt) != 0))
        m_setup.SetByte(kSetupAutoPowerOffAt, autoOff ? 1 : 0);
}

void MeterAnswers::RefreshMemoryTexts() {
    if (m_memoryTextsOf == m_logger.MemoryChanges()) return;
    const std::string& image = m_logger.Memory();
    m_setup.SetMemoryTexts(SetCountOf(image), MemoryPointerFor(AnnouncedBytes(image)));
    m_memoryTextsOf = m_logger.MemoryChanges();
}

}  // namespace kr820::emulator
