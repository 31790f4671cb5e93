// SPDX-License-Identifier: MIT
#include "core/files/row_time_format.h"

#include <optional>

namespace kr820::core {
namespace {

// The digits of `text` from `at` to `at + count`, or none where one is no digit.
std::optional<int> Digits(const QByteArray& text, int at, int count) {
    int value = 0;
    for (int i = at; i < at + count; ++i) {
        if (text[i] < '0' || text[i] > '9') return std::nullopt;
        value = value * 10 + (text[i] - '0');
    }
    return value;
}

// Days from 1970-01-01 of a proleptic Gregorian date, and back (H. Hinnant's algorithms): plain
// arithmetic, so that no time zone is asked again for a time that already carries its offset.
qint64 DaysFromCivil(qint64 year, int month, int day) {
    year -= month <= 2;
    const qint64 era = (year >= 0 ? year : year - 399) / 400;
    const qint64 yearOfEra = year - era * 400;
    const qint64 dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    const qint64 dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

void CivilFromDays(qint64 days, qint64& year, int& month, int& day) {
    days += 719468;
    const qint64 era = (days >= 0 ? days : days - 146096) / 146097;
    const qint64 dayOfEra = days - era * 146097;
    const qint64 yearOfEra =
        (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
    const qint64 dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
    const qint64 monthIndex = (5 * dayOfYear + 2) / 153;
    day = static_cast<int>(dayOfYear - (153 * monthIndex + 2) / 5 + 1);
    month = static_cast<int>(monthIndex < 10 ? monthIndex + 3 : monthIndex - 9);
    year = yearOfEra + era * 400 + (month <= 2);
}

qint64 FloorDiv(qint64 value, qint64 by) {
    return value / by - (value % by != 0 && (value < 0) != (by < 0));
}

}  // namespace

QByteArray TimeInFormat(const QByteArray& iso, TimeFormat format) {
    // "YYYY-MM-DDTHH:MM:SS+HH:MM"
    if (iso.size() != 25 || iso[4] != '-' || iso[7] != '-' || iso[10] != 'T' || iso[13] != ':' ||
        iso[16] != ':' || (iso[19] != '+' && iso[19] != '-') || iso[22] != ':')
        return {};
    const auto year = Digits(iso, 0, 4), month = Digits(iso, 5, 2), day = Digits(iso, 8, 2);
    const auto hour = Digits(iso, 11, 2), minute = Digits(iso, 14, 2), second = Digits(iso, 17, 2);
    const auto offsetHours = Digits(iso, 20, 2), offsetMinutes = Digits(iso, 23, 2);
    if (!year || !month || !day || !hour || !minute || !second || !offsetHours || !offsetMinutes)
        return {};
    if (format == TimeFormat::Iso) return iso;
    const qint64 offset = (iso[19] == '-' ? -1 : 1) * (*offsetHours * 3600 + *offsetMinutes * 60);
    const qint64 epoch =
        DaysFromCivil(*year, *month, *day) * 86400 + *hour * 3600 + *minute * 60 + *second - offset;
    if (format == TimeFormat::Epoch) return QByteArray::number(epoch);
    qint64 utcYear = 0;
    int utcMonth = 0, utcDay = 0;
    const qint64 days = FloorDiv(epoch, 86400);
    const qint64 secondOfDay = epoch - days * 86400;
    CivilFromDays(days, utcYear, utcMonth, utcDay);
    const auto two = [](qint64 value) { return QByteArray::number(value).rightJustified(2, '0'); };
    return QByteArray::number(utcYear).rightJustified(4, '0') + '-' + two(utcMonth) + '-' +
           two(utcDay) + 'T' + two(secondOfDay / 3600) + ':' + two(secondOfDay / 60 % 60) + ':' +
           two(secondOfDay % 60) + 'Z';
}

}  // namespace kr820::core
