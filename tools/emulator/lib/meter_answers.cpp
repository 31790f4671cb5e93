// SPDX-License-Identifier: MIT
#include "meter_answers.h"

#include "command_frame.h"
#include "default_memory.h"
#include "logger_memory_builder.h"
#include "meter_replies.h"

namespace kr820::emulator {

MeterAnswers::MeterAnswers()
    : m_modelReply(ModelReply()), m_logger(BuildMemoryImage(DefaultDataSets())) {
    m_replies.Register('K', [this](std::string_view) { return m_modelReply; });
    m_replies.Register('A', [this](std::string_view) {
        m_model.AdvanceTo(m_now);
        return BuildLiveReply(m_model.Reported(), &m_faults);
    });
    // Writes (setup bytes, clock, reset, erase) are confirmed by echoing the whole frame.
    for (const std::uint8_t write : {'w', 'W', 'R'})
        m_replies.Register(write, [](std::string_view body) { return FrameCommand(body); });
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

}  // namespace kr820::emulator
