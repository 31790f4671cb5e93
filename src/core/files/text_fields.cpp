// SPDX-License-Identifier: MIT
#include "core/files/text_fields.h"

#include <cmath>

#include "core/data/limit_values.h"
#include "core/files/time_text_reader.h"
#include "core/files/two_digit_years.h"

namespace kr820::core {

QString DateText(TDateTime value, const RegionalFormats& formats) {
    return formats.Locale.toString(FromTDateTime(value).date(), formats.ShortDate);
}

QString TimeText(TDateTime value, const RegionalFormats& formats) {
    return formats.Locale.toString(FromTDateTime(value).time(), formats.LongTime);
}

namespace {

constexpr char16_t kMinusSign = u'\u2212';  // what some regional settings write for "-"

}  // namespace

QString ValueText(float value, const RegionalFormats& formats) {
    // Files always carry the plain hyphen-minus, whatever the display uses: other programs and
    // other regional settings read that one.
    QString text = TemperatureText(value, 1, formats.Locale);
    const QString localeMinus = formats.Locale.negativeSign();
    if (localeMinus != QStringLiteral("-") && text.startsWith(localeMinus)) {
        text.replace(0, localeMinus.size(), u'-');
    }
    return text;
}

std::optional<TDateTime> ReadDateAndTime(const QString& dateText, const QString& timeText,
                                         const RegionalFormats& formats) {
    // A text file's lines mostly share their date and differ in their time; both readings are
    // kept between calls, as reading through the locale costs tens of microseconds a line.
    thread_local struct {
        QString text, format, localeName;
        QDate today, date;
        std::optional<TimeTextReader> timeReader;
        QString timeFormat, timeLocaleName;
        bool timeCompiled = false;
    } cache;
    const QString dateKey = dateText.trimmed();
    if (dateKey != cache.text || formats.ShortDate != cache.format ||
        formats.Locale.name() != cache.localeName || formats.Today != cache.today) {
        cache.date = ReadDate(dateKey, formats.ShortDate, formats.Locale, formats.Today);
        cache.text = dateKey;
        cache.format = formats.ShortDate;
        cache.localeName = formats.Locale.name();
        cache.today = formats.Today;
    }
    const QDate date = cache.date;
    if (!cache.timeCompiled || cache.timeFormat != formats.LongTime ||
        cache.timeLocaleName != formats.Locale.name()) {
        cache.timeReader = TimeTextReader::Compile(formats.LongTime, formats.Locale);
        cache.timeFormat = formats.LongTime;
        cache.timeLocaleName = formats.Locale.name();
        cache.timeCompiled = true;
    }
    const QString trimmedTime = timeText.trimmed();
    const QTime time = cache.timeReader ? cache.timeReader->Read(trimmedTime)
                                        : formats.Locale.toTime(trimmedTime, formats.LongTime);
    if (!date.isValid() || !time.isValid()) return std::nullopt;
    return WallClockDateTime(date, time);
}

float ReadValue(const QString& text, const RegionalFormats& formats) {
    if (text.contains(QLatin1String(kOLText))) return OverLimitValue;
    bool ok = false;
    QString number = text.trimmed();
    number.replace(QChar(kMinusSign), u'-');
    const float value = formats.Locale.toFloat(number, &ok);
    return ok && std::isfinite(value) ? value : OverLimitValue;
}

TDateTime WallClockDateTime(QDate date, QTime time) {
    static constexpr QDate kEpoch = QDate::fromJulianDay(2415019);  // 30 December 1899
    const double days = static_cast<double>(kEpoch.daysTo(date));
    const double fraction = std::round(time.msecsSinceStartOfDay() / 1000.0) / kSecondsPerDay;
    // The same sign rule as every other date-time: before the epoch the fraction counts down too.
    return days < 0 ? days - fraction : days + fraction;
}

}  // namespace kr820::core
