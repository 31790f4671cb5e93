// SPDX-License-Identifier: MIT
#include "core/data/bcd_date_time.h"

#include <QDate>
#include <QTime>

namespace kr820::core {

std::optional<TDateTime> BcdDateTime(QByteArrayView sixBytes) {
    if (sixBytes.size() < 6) return std::nullopt;
    const auto field = [&](int i) { return FromBcd(static_cast<std::uint8_t>(sixBytes[i])); };
    const QDate date(2000 + field(0), field(1), field(2));
    const QTime time(field(3), field(4), field(5));
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    // Counted from the fields rather than through a local QDateTime: the meter's clock is wall
    // time, and a start inside a daylight-saving gap is still the time its display showed.
    const double days = static_cast<double>(QDate(1899, 12, 30).daysTo(date));
    return days + time.msecsSinceStartOfDay() / 1000.0 / kSecondsPerDay;
}

}  // namespace kr820::core
