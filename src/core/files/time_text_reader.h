// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>
#include <optional>
#include <vector>

namespace kr820::core {

// Reads times in a numeric time format (hours, minutes, seconds, milliseconds, an AM/PM marker
// and literal text) an order of magnitude faster than QLocale::toTime, which reading a text file
// of tens of thousands of lines needs. Formats with other sections are not compiled; the caller
// then reads with QLocale.
class TimeTextReader {
public:
    static std::optional<TimeTextReader> Compile(const QString& format, const QLocale& locale);

    // An invalid time when the text does not follow the format.
    QTime Read(QStringView text) const;

private:
    enum class Kind { Hour24, Hour12, Minute, Second, Millisecond, AmPm, Literal };
    struct Section {
        Kind kind;
        QString literal;
    };
    std::vector<Section> m_sections;
    QString m_am;
    QString m_pm;
};

}  // namespace kr820::core
