// SPDX-License-Identifier: MIT
#include "core/files/spreadsheet_rows.h"

#include <QFile>
#include <charconv>
#include <cmath>

#include "core/chart/chart_data.h"

namespace kr820::core {
namespace {

// No line of these files comes near it: a set number, a time, an offset, two values and a unit.
constexpr qsizetype kMaxLineBytes = 256;
constexpr qsizetype kShownLineChars = 60;
constexpr qint64 kUnixEpochJulianDay = 2440588;
constexpr qint64 kDaySeconds = 86400;
constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

QByteArray Chomped(QByteArray line) {
    if (line.endsWith('\n')) line.chop(1);
    if (line.endsWith('\r')) line.chop(1);
    return line;
}

// The next line without its line end, or empty at the end of the file; `tooLong` when the line
// is longer than kMaxLineBytes (its rest is not read).
std::optional<QByteArray> NextLine(QFile& file, bool& tooLong) {
    if (file.atEnd()) return std::nullopt;
    QByteArray line = file.readLine(kMaxLineBytes + 2);
    tooLong = !line.endsWith('\n') && !file.atEnd();
    line = Chomped(line);
    tooLong = tooLong || line.size() > kMaxLineBytes;
    return line;
}

// The fields of a line: split at the separator, and in CSV a field in double quotes may hold
// the separator and "" for a quote. Empty when the quotes do not close.
std::optional<QList<QByteArray>> Fields(QByteArrayView line, char separator) {
    QList<QByteArray> fields;
    qsizetype i = 0;
    for (;;) {
        QByteArray field;
        if (separator == ',' && i < line.size() && line[i] == '"') {
            ++i;
            for (;; ++i) {
                if (i >= line.size()) return std::nullopt;
                if (line[i] == '"') {
                    if (i + 1 < line.size() && line[i + 1] == '"') {
                        field += '"';
                        ++i;
                        continue;
                    }
                    ++i;
                    break;
                }
                field += line[i];
            }
            if (i < line.size() && line[i] != separator) return std::nullopt;
        } else {
            const qsizetype end = line.indexOf(separator, i);
            field = line.sliced(i, (end < 0 ? line.size() : end) - i).toByteArray();
            i += field.size();
        }
        fields << field;
        if (i >= line.size()) return fields;
        ++i;  // the separator
    }
}

std::optional<int> Digits(QByteArrayView text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return text.isEmpty() ? std::nullopt : std::optional(value);
}

// "2026-12-07T21:53:08" and "+01:00" as an instant.
std::optional<UtcSeconds> Instant(QByteArrayView time, QByteArrayView offset) {
    if (time.size() != 19 || time[4] != '-' || time[7] != '-' || time[10] != 'T' ||
        time[13] != ':' || time[16] != ':')
        return std::nullopt;
    if (offset.size() != 6 || (offset[0] != '+' && offset[0] != '-') || offset[3] != ':')
        return std::nullopt;
    const auto year = Digits(time.sliced(0, 4)), month = Digits(time.sliced(5, 2)),
               day = Digits(time.sliced(8, 2)), hour = Digits(time.sliced(11, 2)),
               minute = Digits(time.sliced(14, 2)), second = Digits(time.sliced(17, 2)),
               offsetHours = Digits(offset.sliced(1, 2)),
               offsetMinutes = Digits(offset.sliced(4, 2));
    if (!year || !month || !day || !hour || !minute || !second || !offsetHours || !offsetMinutes)
        return std::nullopt;
    const QDate date(*year, *month, *day);
    const QTime clock(*hour, *minute, *second);
    if (!date.isValid() || !clock.isValid() || *offsetMinutes > 59 ||
        !IsShownDateTime(ToTDateTime(date, QTime(0, 0))))
        return std::nullopt;
    const qint64 wall = (date.toJulianDay() - kUnixEpochJulianDay) * kDaySeconds +
                        clock.msecsSinceStartOfDay() / 1000;
    const int offsetSeconds = (*offsetHours * 60 + *offsetMinutes) * 60;
    return wall - (offset[0] == '-' ? -offsetSeconds : offsetSeconds);
}

// Empty field: no value. Otherwise a finite decimal number, or the line does not read.
std::optional<std::optional<double>> Value(QByteArrayView text) {
    if (text.isEmpty()) return std::optional<double>();
    double value = 0;
    const auto [end, error] = std::from_chars(text.begin(), text.end(), value);
    if (error != std::errc() || end != text.end() || !std::isfinite(value)) return std::nullopt;
    return std::optional<double>(value);
}

std::optional<ReadingRow> Row(QByteArrayView line, char separator, bool withSet) {
    const auto fields = Fields(line, separator);
    const qsizetype first = withSet ? 1 : 0;
    if (!fields || fields->size() != first + 5) return std::nullopt;
    ReadingRow row;
    if (withSet) {
        const auto set = Digits(fields->at(0));
        if (!set || *set < 1 || fields->at(0).size() > 4) return std::nullopt;
        row.Set = *set;
    }
    const auto instant = Instant(fields->at(first), fields->at(first + 1));
    const auto t1 = Value(fields->at(first + 2));
    const auto t2 = Value(fields->at(first + 3));
    if (!instant || !t1 || !t2) return std::nullopt;
    row.Time = *instant;
    row.T1 = *t1;
    row.T2 = *t2;
    row.Unit = QString::fromUtf8(fields->at(first + 4));
    return row;
}

}  // namespace

bool IsSpreadsheetHeader(QByteArrayView firstLine) {
    QByteArrayView line = firstLine;
    if (line.startsWith(kByteOrderMark)) line = line.sliced(3);  // a spreadsheet saved it so
    if (line.endsWith('\n')) line.chop(1);
    if (line.endsWith('\r')) line.chop(1);
    for (const RowFormat format : {RowFormat::Csv, RowFormat::Tsv}) {
        for (const bool withSet : {false, true}) {
            const QByteArray header = HeaderLine({format, withSet, {}}).trimmed();
            if (line == header) return true;
        }
    }
    return false;
}

bool IsSpreadsheetFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return false;
    return IsSpreadsheetHeader(file.readLine(kMaxLineBytes));
}

QString DescribedLine(qsizetype number, QByteArrayView line) {
    QString text = QString::fromUtf8(line);
    for (QChar& c : text)
        if (c.unicode() < 0x20 || c.unicode() == 0x7F) c = u'?';
    if (text.size() > kShownLineChars) text = text.left(kShownLineChars) + QStringLiteral("...");
    return QStringLiteral("line %1, \"%2\"").arg(number).arg(text);
}

SpreadsheetReadOutcome ReadSpreadsheetRows(const QString& path) {
    SpreadsheetReadOutcome outcome;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.Status = SpreadsheetReadStatus::CannotOpen;
        outcome.Problem = file.errorString();
        return outcome;
    }
    QByteArray header = Chomped(file.readLine(kMaxLineBytes));
    if (header.startsWith(kByteOrderMark)) header.remove(0, 3);
    const char separator = header.contains('\t') ? '\t' : ',';
    outcome.WithSet = header.startsWith("set");
    bool tooLong = false;
    qsizetype number = 1;  // the header's
    while (outcome.Rows.size() < std::size_t(ChartData::kMaxPoints)) {
        const std::optional<QByteArray> line = NextLine(file, tooLong);
        if (!line) break;
        ++number;
        if (line->isEmpty() && !tooLong) continue;  // a blank line ends nothing here
        const std::optional<ReadingRow> row =
            tooLong ? std::nullopt : Row(*line, separator, outcome.WithSet);
        if (row) {
            outcome.Rows.push_back(*row);
            continue;
        }
        if (outcome.SkippedLines++ == 0)
            outcome.FirstSkipped = DescribedLine(number, *line) +
                                   (tooLong ? QStringLiteral(" (too long)") : QString());
        if (tooLong) break;  // not a file this program wrote, from here on
    }
    if (outcome.Rows.empty()) {
        outcome.Status = SpreadsheetReadStatus::NoRows;
        outcome.Problem = outcome.SkippedLines > 0
                              ? QStringLiteral("no line reads as a row: the first, %1, does not")
                                    .arg(outcome.FirstSkipped)
                              : QStringLiteral("it holds no rows after its header");
    }
    return outcome;
}

}  // namespace kr820::core
