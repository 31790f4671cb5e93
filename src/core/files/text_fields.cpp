// SPDX-License-Identifier: MIT
#include "core/files/text_fields.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>

#include "core/data/limit_values.h"
#include "core/files/two_digit_years.h"

namespace kr820::core {

QString DateText(QDate date, const RegionalFormats& formats) {
    return formats.Locale.toString(date, formats.ShortDate);
}

QString TimeText(QTime time, const RegionalFormats& formats) {
    return formats.Locale.toString(time, formats.LongTime);
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

float ReadValue(QStringView text, const RegionalFormats& formats) {
    if (text.contains(QLatin1String(kOLText))) return OverLimitValue;
    bool ok = false;
    const QStringView number = text.trimmed();
    float value = 0;
    if (number.contains(QChar(kMinusSign))) {
        QString hyphenated = number.toString();
        hyphenated.replace(QChar(kMinusSign), u'-');
        value = formats.Locale.toFloat(hyphenated, &ok);
    } else {
        value = formats.Locale.toFloat(number, &ok);
    }
    return ok && std::isfinite(value) ? value : OverLimitValue;
}

namespace {

// An optional hyphen-minus, digits without a leading zero (a lone 0 aside), optionally the
// decimal separator and more digits: read as the locale reads it, through the nearest double, so
// that the float comes out the same. Empty for anything else.
std::optional<float> PlainNumber(QStringView text, char16_t decimalPoint) {
    constexpr int kMaxDigits = 15;
    char chars[2 * kMaxDigits + 2];
    int size = 0;
    qsizetype i = 0;
    if (i < text.size() && text[i] == u'-') chars[size++] = text[i++].toLatin1();
    const auto digits = [&] {
        const qsizetype first = i;
        while (i < text.size() && i - first < kMaxDigits && text[i] >= u'0' && text[i] <= u'9')
            chars[size++] = text[i++].toLatin1();
        return i - first;
    };
    const qsizetype whole = digits();
    if (whole == 0 || (whole > 1 && chars[size - whole] == '0')) return std::nullopt;
    if (i < text.size() && text[i] == decimalPoint) {
        ++i;
        chars[size++] = '.';
        if (digits() == 0) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    // Up to 15 digits make an integer a double holds exactly, and dividing it by an exact power
    // of ten rounds once, to the double nearest the decimal: what from_chars gives, faster.
    static constexpr double kPowersOfTen[] = {1e0, 1e1, 1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8, 1e9, 1e10, 1e11, 1e12, 1e13, 1e14, 1e15};
    const bool negative = chars[0] == '-';
    const bool point = std::memchr(chars, '.', static_cast<std::size_t>(size)) != nullptr;
    const int digitCount = size - (negative ? 1 : 0) - (point ? 1 : 0);
    if (digitCount <= kMaxDigits) {
        long long integer = 0;
        int decimals = -1;
        for (int c = negative ? 1 : 0; c < size; ++c) {
            if (chars[c] == '.') {
                decimals = 0;
                continue;
            }
            integer = integer * 10 + (chars[c] - '0');
            if (decimals >= 0) ++decimals;
        }
        const double exact = static_cast<double>(integer) / kPowersOfTen[std::max(decimals, 0)];
        return static_cast<float>(negative ? -exact : exact);
    }
    double value = 0;
    if (std::from_chars(chars, chars + size, value).ec != std::errc()) return std::nullopt;
    return static_cast<float>(value);
}

}  // namespace

TextFieldReader::TextFieldReader(const RegionalFormats& formats)
    : m_formats(formats), m_timeFormat(TimeTextFormat::Compile(formats.LongTime, formats.Locale)) {
    const QString decimalPoint = formats.Locale.decimalPoint();
    if (decimalPoint.size() == 1 && formats.Locale.zeroDigit() == QStringLiteral("0")) {
        m_decimalPoint = decimalPoint[0].unicode();
        if (!ReadsValuesLikeTheLocale()) m_decimalPoint = 0;
    }
}

bool TextFieldReader::ReadsValuesLikeTheLocale() const {
    const QChar point(m_decimalPoint);
    for (const QString& text :
         {QStringLiteral("0"), QStringLiteral("1234"), QStringLiteral("-0") + point + u'0',
          QStringLiteral("23") + point + u'5', QStringLiteral("-10") + point + u'0',
          QStringLiteral("2999") + point + u'9', QStringLiteral("0") + point + u'1',
          QStringLiteral("-7") + point + QStringLiteral("75")}) {
        const auto plain = PlainNumber(text, m_decimalPoint);
        const float locale = ReadValue(text, m_formats);
        if (!plain || std::memcmp(&*plain, &locale, sizeof locale) != 0) return false;
    }
    return true;
}

std::optional<TDateTime> TextFieldReader::DateAndTime(QStringView dateText, QStringView timeText) {
    const QStringView dateKey = dateText.trimmed();
    if (!m_hasLastDate || dateKey != m_lastDateText) {
        m_lastDateText = dateKey.toString();
        m_lastDate =
            ReadDate(m_lastDateText, m_formats.ShortDate, m_formats.Locale, m_formats.Today);
        m_hasLastDate = true;
    }
    const QStringView trimmedTime = timeText.trimmed();
    const QTime time = m_timeFormat
                           ? m_timeFormat->Read(trimmedTime)
                           : m_formats.Locale.toTime(trimmedTime.toString(), m_formats.LongTime);
    if (!m_lastDate.isValid() || !time.isValid()) return std::nullopt;
    return WallClockDateTime(m_lastDate, time);
}

float TextFieldReader::Value(QStringView text) const {
    // "OL" is no plain number: ReadValue finds it.
    if (m_decimalPoint != 0) {
        if (const auto plain = PlainNumber(text.trimmed(), m_decimalPoint)) return *plain;
    }
    return ReadValue(text, m_formats);
}

TDateTime WallClockDateTime(QDate date, QTime time) {
    static constexpr QDate kEpoch = QDate::fromJulianDay(2415019);  // 30 December 1899
    const double days = static_cast<double>(kEpoch.daysTo(date));
    const double fraction = std::round(time.msecsSinceStartOfDay() / 1000.0) / kSecondsPerDay;
    // The same sign rule as every other date-time: before the epoch the fraction counts down too.
    return days < 0 ? days - fraction : days + fraction;
}

}  // namespace kr820::core
