// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QLocale>
#include <QString>
#include <QStringView>
#include <QTime>
#include <optional>
#include <vector>

namespace kr820::core {

// Reads and writes times in a numeric time format (hours, minutes, seconds, milliseconds, an
// AM/PM marker and literal text) an order of magnitude faster than QLocale::toTime and
// QLocale::toString, which text files of tens of thousands of lines need. Formats with other
// sections are not compiled; the caller then uses QLocale.
class TimeTextFormat {
public:
    static std::optional<TimeTextFormat> Compile(const QString& format, const QLocale& locale);

    // An invalid time when the text does not follow the format.
    QTime Read(QStringView text) const;

    // Whether Write gives what QLocale::toString gives for whole seconds. Checked on compiling
    // against the locale itself, so that digits, marker cases or sections written in a way this
    // does not know leave writing to the locale.
    bool Writes() const { return m_writes; }
    // The UTF-8 text of a valid time of whole seconds, written at `out`, which has room for
    // MaxBytes(); returns the end of what was written.
    char* Write(QTime time, char* out) const;
    qsizetype MaxBytes() const { return m_maxBytes; }

private:
    enum class Kind { Hour24, Hour12, Minute, Second, Millisecond, AmPm, Literal };
    struct Section {
        Kind kind;
        QString literal;
        int width = 1;           // digits at least; for AmPm, 2 when upper case
        QByteArray literalUtf8;  // what Write writes of the literal
    };
    bool WritesLikeTheLocale(const QString& format, const QLocale& locale) const;

    std::vector<Section> m_sections;
    QString m_am;
    QString m_pm;
    QByteArray m_amUpper, m_amLower, m_pmUpper, m_pmLower;  // UTF-8, as Write writes them
    qsizetype m_maxBytes = 0;
    bool m_writes = false;
};

}  // namespace kr820::core
