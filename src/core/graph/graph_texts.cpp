// SPDX-License-Identifier: MIT
#include "core/graph/graph_texts.h"

#include <algorithm>

#include "core/data/data_set_grid.h"
#include "core/data/limit_values.h"
#include "core/files/regional_formats.h"

namespace kr820::core {

QLocale DisplayLocale(QLocale locale) {
    locale.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    return locale;
}

QString LongTimeText(TDateTime value, const QLocale& locale) {
    const QString format = WithoutTimeZone(locale.timeFormat(QLocale::LongFormat));
    return locale.toString(FromTDateTime(value).time(), format);
}

QString DateTimeText(TDateTime value, const QLocale& locale) {
    return ShortDateText(value, locale) + u' ' + LongTimeText(value, locale);
}

QString PointerReadoutText(double y, TDateTime x, const QLocale& locale) {
    return DisplayLocale(locale).toString(y, 'f', 1) + u'@' + LongTimeText(x, locale);
}

QString MmSsText(int seconds) {
    const auto twoDigits = [](int field) {
        return (QStringLiteral("0") + QString::number(field)).right(2);
    };
    return twoDigits(seconds / 60) + u':' + twoDigits(seconds % 60);
}

QString RightAligned(const QString& text, int width) {
    return (QString(10, u' ') + text).right(width);
}

QString DataListLine(int point, TDateTime x, float t1, float t2, const QLocale& locale) {
    return RightAligned(QString::number(point + 1), 5) + QStringLiteral("  ") +
           ShortDateText(x, locale) + QStringLiteral("  ") + LongTimeText(x, locale) +
           RightAligned(TemperatureText(t1, 1, locale), 9) +
           RightAligned(TemperatureText(t2, 1, locale), 9);
}

QString NoReadingLine(TDateTime from, TDateTime to, const QLocale& locale) {
    const bool sameDay = FromTDateTime(from).date() == FromTDateTime(to).date();
    const auto text = [&](TDateTime at) {
        return sameDay ? LongTimeText(at, locale) : DateTimeText(at, locale);
    };
    return QStringLiteral("no reading from %1 to %2").arg(text(from), text(to));
}

QString ClockSetBackLine(qint64 byMs, TDateTime at, const QLocale& locale) {
    const qint64 seconds = (std::max<qint64>(byMs, 0) + 500) / 1000;
    QString by;
    if (seconds == 0) {
        by = QStringLiteral("less than 1 s");
    } else if (seconds < 60) {
        by = QStringLiteral("%1 s").arg(seconds);
    } else if (seconds < 3600) {
        by = QStringLiteral("%1 min %2 s").arg(seconds / 60).arg(seconds % 60);
    } else {
        by = QStringLiteral("%1 h %2 min").arg(seconds / 3600).arg(seconds % 3600 / 60);
        if (seconds % 60 != 0) by += QStringLiteral(" %1 s").arg(seconds % 60);
    }
    return QStringLiteral("clock set back by %1 at %2").arg(by, LongTimeText(at, locale));
}

QString PointCursorText(TDateTime x, float t1, float t2, const QLocale& locale) {
    return LongTimeText(x, locale) + QStringLiteral(" T1:") + TemperatureText(t1, 1, locale) +
           QStringLiteral(" T2:") + TemperatureText(t2, 1, locale);
}

}  // namespace kr820::core
