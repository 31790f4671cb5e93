// SPDX-License-Identifier: MIT
#include "meter_clock.h"

#include <algorithm>
#include <ctime>

#include "logger_memory_builder.h"

namespace kr820::emulator {
namespace {

using namespace std::chrono;

// -1 for a byte with a nibble above 9.
int FromBcd(char byte) {
    const int high = (static_cast<unsigned char>(byte) >> 4) & 0x0F;
    const int low = static_cast<unsigned char>(byte) & 0x0F;
    return high > 9 || low > 9 ? -1 : high * 10 + low;
}

std::optional<sys_seconds> Decode(std::string_view bcd) {
    if (bcd.size() != kClockBcdBytes) return std::nullopt;
    int fields[kClockBcdBytes];
    for (std::size_t i = 0; i < kClockBcdBytes; ++i) {
        fields[i] = FromBcd(bcd[i]);
        if (fields[i] < 0) return std::nullopt;
    }
    const year_month_day date{year{2000 + fields[0]}, month{static_cast<unsigned>(fields[1])},
                              day{static_cast<unsigned>(fields[2])}};
    if (!date.ok() || fields[3] > 23 || fields[4] > 59 || fields[5] > 59) return std::nullopt;
    return sys_days{date} + hours{fields[3]} + minutes{fields[4]} + seconds{fields[5]};
}

std::string Encode(int year, int month, int day, int hour, int minute, int second) {
    std::string bcd;
    for (const int field : {year - 2000, month, day, hour, minute, second})
        bcd.push_back(static_cast<char>(ToBcd(field)));
    return bcd;
}

std::string Encode(sys_seconds at) {
    const sys_days date = floor<days>(at);
    const year_month_day ymd{date};
    const hh_mm_ss time{at - date};
    return Encode(static_cast<int>(ymd.year()), static_cast<int>(unsigned{ymd.month()}),
                  static_cast<int>(unsigned{ymd.day()}), static_cast<int>(time.hours().count()),
                  static_cast<int>(time.minutes().count()),
                  static_cast<int>(time.seconds().count()));
}

}  // namespace

MeterClock::MeterClock() { Set(LocalTimeBcd(), milliseconds{0}); }

void MeterClock::Set(std::string_view bcd, milliseconds now) {
    m_held = std::string(bcd);
    m_setTo = Decode(bcd);
    m_setAt = now;
}

std::string MeterClock::At(milliseconds now) const {
    if (!m_setTo) return m_held;
    // A time from before the setting (a test's fixed zero) reads as the setting itself.
    const milliseconds passed = now > m_setAt ? now - m_setAt : milliseconds{0};
    return Encode(*m_setTo + floor<seconds>(passed));
}

std::string LocalTimeBcd() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return Encode(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min, std::min(local.tm_sec, 59));  // a leap second reads as :59
}

}  // namespace kr820::emulator
