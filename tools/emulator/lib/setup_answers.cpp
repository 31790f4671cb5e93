// SPDX-License-Identifier: MIT
#include "setup_answers.h"

#include <cstdio>
#include <utility>

#include "command_frame.h"
#include "setup_record.h"

namespace kr820::emulator {
namespace {

constexpr std::string_view kWriteSetupStart = "wE";
constexpr std::size_t kAddressAt = 2;
constexpr std::size_t kAddressWidth = 6;
constexpr std::size_t kValueAt = 9;
constexpr std::size_t kValueWidth = 3;
constexpr std::size_t kWriteSetupBodyBytes = 13;

constexpr std::string_view kSetClockStart = "WRTC";
constexpr std::size_t kSetClockBodyBytes = 16;

// A number exactly as C's "%N.d" prints it: right-aligned, all blanks for zero. Anything else,
// leading zeros included, is not what the meter expects.
std::optional<int> ReadPrinted(std::string_view field) {
    int value = 0;
    std::size_t at = field.find_first_not_of(' ');
    for (; at < field.size(); ++at) {
        if (field[at] < '0' || field[at] > '9') return std::nullopt;
        value = value * 10 + (field[at] - '0');
    }
    char printed[16];
    std::snprintf(printed, sizeof printed, "%*.d", static_cast<int>(field.size()), value);
    if (field != printed) return std::nullopt;
    return value;
}

struct SetupWrite {
    int address = 0;
    std::uint8_t value = 0;
};

std::optional<SetupWrite> ReadSetupWrite(std::string_view body) {
    if (body.size() != kWriteSetupBodyBytes || !body.starts_with(kWriteSetupStart) ||
        body[kAddressAt + kAddressWidth] != '\0' || body[kValueAt + kValueWidth] != '\0') {
        return std::nullopt;
    }
    const std::optional<int> address = ReadPrinted(body.substr(kAddressAt, kAddressWidth));
    const std::optional<int> value = ReadPrinted(body.substr(kValueAt, kValueWidth));
    if (!address || !value || *address < kFirstSetupAddress || *address > kLastSetupAddress ||
        *value > 0xFF) {
        return std::nullopt;
    }
    return SetupWrite{*address, static_cast<std::uint8_t>(*value)};
}

// Each BCD byte travels as two characters, a nibble + 0x30 each.
std::optional<std::string> ReadClockDigits(std::string_view body) {
    if (body.size() != kSetClockBodyBytes || !body.starts_with(kSetClockStart)) return std::nullopt;
    const std::string_view digits = body.substr(kSetClockStart.size());
    std::string bcd;
    for (std::size_t i = 0; i < digits.size(); i += 2) {
        const int high = static_cast<unsigned char>(digits[i]) - 0x30;
        const int low = static_cast<unsigned char>(digits[i + 1]) - 0x30;
        if (high < 0 || high > 0x0F || low < 0 || low > 0x0F) return std::nullopt;
        bcd.push_back(static_cast<char>(high << 4 | low));
    }
    return bcd;
}

// Still a byte that cannot pass for the one sent.
void Spoil(std::string* frame, std::size_t at) {
    if (at < frame->size()) (*frame)[at] = static_cast<char>((*frame)[at] ^ 0x01);
}

}  // namespace

SetupAnswers::SetupAnswers() : m_record(DefaultSetupRecord()) {}

std::string SetupAnswers::OnReadSetup(std::chrono::milliseconds now) const {
    std::string reply = Record(now);
    if (m_faults.longRecordReply) reply.push_back(kEtx);
    return reply;
}

std::string SetupAnswers::OnWriteSetup(std::string_view body) {
    const std::optional<SetupWrite> write = ReadSetupWrite(body);
    if (!write || (m_faults.refuseWritesFrom && write->address >= *m_faults.refuseWritesFrom))
        return {};
    SetByte(SetupOffsetOf(write->address), write->value);
    std::string echo = FrameCommand(body);
    if (m_faults.writeEchoWrongAt) Spoil(&echo, *m_faults.writeEchoWrongAt);
    return echo;
}

std::string SetupAnswers::OnSetClock(std::string_view body, std::chrono::milliseconds now) {
    const std::optional<std::string> bcd = ReadClockDigits(body);
    if (!bcd) return {};
    m_clock.Set(*bcd, now);
    std::string echo = FrameCommand(body);
    if (m_faults.clockEchoWrongStart) {
        for (std::size_t at = 0; at < kClockEchoComparedFrom; ++at) Spoil(&echo, at);
    }
    return echo;
}

std::string SetupAnswers::Record(std::chrono::milliseconds now) const {
    std::string record = m_record;
    record.replace(kSetupClockAt, kClockBcdBytes, m_clock.At(now));
    return record;
}

void SetupAnswers::SetRecord(std::string record, std::chrono::milliseconds now) {
    record.resize(kSetupRecordBytes, '\0');
    m_clock.Set(std::string_view(record).substr(kSetupClockAt, kClockBcdBytes), now);
    m_record = std::move(record);
}

std::uint8_t SetupAnswers::Byte(std::size_t offset) const {
    return offset < m_record.size() ? static_cast<std::uint8_t>(m_record[offset]) : 0;
}

void SetupAnswers::SetByte(std::size_t offset, std::uint8_t value) {
    if (offset < m_record.size()) m_record[offset] = static_cast<char>(value);
}

void SetupAnswers::SetMemoryTexts(std::size_t setCount, std::uint32_t pointer) {
    PutMemoryTexts(&m_record, setCount, pointer);
}

}  // namespace kr820::emulator
