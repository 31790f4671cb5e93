// SPDX-License-Identifier: MIT
#include "core/files/reading_rows.h"

#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "core/data/limit_values.h"

namespace kr820::core {
namespace {

constexpr char kCsvEnd[] = "\r\n";

// "2026-12-07T21:53:08+01:00": the local time, then the offset.
constexpr int kIsoTimeChars = 25;
constexpr int kIsoLocalChars = 19;

char* WriteDigits(char* out, int value, int digits) {
    for (int i = digits - 1; i >= 0; --i, value /= 10) out[i] = static_cast<char>('0' + value % 10);
    return out + digits;
}

void WriteIsoTime(char* out, const QDate& date, const QTime& time, int offsetSeconds) {
    out = WriteDigits(out, date.year(), 4);
    *out++ = '-';
    out = WriteDigits(out, date.month(), 2);
    *out++ = '-';
    out = WriteDigits(out, date.day(), 2);
    *out++ = 'T';
    out = WriteDigits(out, time.hour(), 2);
    *out++ = ':';
    out = WriteDigits(out, time.minute(), 2);
    *out++ = ':';
    out = WriteDigits(out, time.second(), 2);
    *out++ = offsetSeconds < 0 ? '-' : '+';
    const int minutes = std::abs(offsetSeconds) / 60;
    out = WriteDigits(out, minutes / 60, 2);
    *out++ = ':';
    WriteDigits(out, minutes % 60, 2);
}

QByteArray IsoTimeBytes(UtcSeconds instant) {
    const std::optional<LocalMoment> local = LocalMomentAt(instant);
    if (!local) return {};
    char text[kIsoTimeChars];
    WriteIsoTime(text, local->Date, local->Time, local->OffsetSeconds);
    return QByteArray(text, kIsoTimeChars);
}

// The most a finite double takes with one decimal: 309 digits, a sign, the point and the decimal.
constexpr int kMaxDecimalChars = 320;

// std::to_chars is locale-free and rounds correctly, as QLocale::c() does, at a fraction of
// the cost. Writes nothing for a value that is no number: no format takes "nan" or "inf".
char* WriteDecimal(char* out, double value) {
    if (!std::isfinite(value)) return out;
    const auto written =
        std::to_chars(out, out + kMaxDecimalChars, value, std::chars_format::fixed, 1);
    // -0.04 would otherwise read "-0.0".
    if (written.ptr - out == 4 && std::memcmp(out, "-0.0", 4) == 0) {
        std::memcpy(out, "0.0", 3);
        return out + 3;
    }
    return written.ptr;
}

QByteArray DecimalBytes(double value) {
    char text[kMaxDecimalChars];
    return QByteArray(text, WriteDecimal(text, value) - text);
}

// A value that is no number, which no reading gives, is missing too.
std::optional<double> Finite(const std::optional<double>& value) {
    return value && std::isfinite(*value) ? value : std::nullopt;
}

QByteArray Optional(const std::optional<double>& value, const char* missing) {
    return Finite(value) ? DecimalBytes(*value) : QByteArray(missing);
}

// Line protocol tag values escape commas, equals signs and blanks.
QByteArray InfluxTag(const QString& text) {
    QByteArray out;
    for (const char c : text.toUtf8()) {
        if (c == ',' || c == '=' || c == ' ') out += '\\';
        out += c;
    }
    return out;
}

// Line protocol string fields are quoted, with quotes and backslashes escaped.
QByteArray InfluxString(const QString& text) {
    QByteArray out = "\"";
    for (const char c : text.toUtf8()) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + '"';
}

// Line protocol times are nanoseconds in 64 bits: 1677-09-21 to 2262-04-11.
std::optional<qint64> UnixNanoseconds(UtcSeconds instant) {
    constexpr qint64 kPerSecond = 1'000'000'000;
    constexpr qint64 kLimit = std::numeric_limits<qint64>::max() / kPerSecond;
    if (instant > kLimit || instant < -kLimit) return std::nullopt;
    return instant * kPerSecond;
}

// A text that goes into a field as it is: ASCII without the separator, a quote or a line end
// (unit texts always are), written at `out`. False, with nothing written, for any other.
bool WritePlainField(char*& out, const QString& text, char separator) {
    // Room for it is left in the line's buffer.
    constexpr qsizetype kMostPlain = 16;
    if (text.size() > kMostPlain) return false;
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (u >= 0x80 || u < 0x20 || u == '"' || u == separator) return false;
    }
    for (const QChar c : text) *out++ = static_cast<char>(c.unicode());
    return true;
}

// The fields of a CSV or TSV line are written into one buffer: rows come by the hundred
// thousand, and a string for each field would cost more than the writing.
QByteArray SeparatedLine(const ReadingRow& row, const RowLayout& layout, char separator,
                         const char* end) {
    const std::optional<LocalMoment> local = LocalMomentAt(row.Time);
    if (!local) return {};
    // Set, time, offset and two values, with the separators; the unit and the alarm after.
    char text[16 + kIsoTimeChars + 2 * kMaxDecimalChars + 16 + 2 + 16];
    char* out = text;
    if (layout.WithSet) {
        out = std::to_chars(out, out + 16, row.Set).ptr;
        *out++ = separator;
    }
    // Spreadsheets read an ISO 8601 time as a date only without its offset: the offset gets a
    // column of its own, and a script joins the two.
    WriteIsoTime(out, local->Date, local->Time, local->OffsetSeconds);
    if (layout.Times == TimeFormat::Iso) {
        std::memmove(out + kIsoLocalChars + 1, out + kIsoLocalChars,
                     kIsoTimeChars - kIsoLocalChars);
        out[kIsoLocalChars] = separator;
        out += kIsoTimeChars + 1;
    } else {
        const QByteArray shown = TimeInFormat(QByteArray(out, kIsoTimeChars), layout.Times);
        std::memcpy(out, shown.constData(), static_cast<std::size_t>(shown.size()));
        out += shown.size();
    }
    *out++ = separator;
    if (Finite(row.T1)) out = WriteDecimal(out, *row.T1);
    *out++ = separator;
    if (Finite(row.T2)) out = WriteDecimal(out, *row.T2);
    *out++ = separator;
    if (!layout.WithAlarm && WritePlainField(out, row.Unit, separator)) {
        for (const char* c = end; *c != 0; ++c) *out++ = *c;
        return QByteArray(text, out - text);
    }
    QByteArray line(text, out - text);
    line += separator == ',' ? CsvField(row.Unit) : row.Unit.toUtf8();
    if (layout.WithAlarm)
        line += separator + (separator == ',' ? CsvField(row.Alarm) : row.Alarm.toUtf8());
    return line + end;
}

QByteArray JsonLine(const ReadingRow& row, const RowLayout& layout) {
    const QByteArray time = IsoTimeBytes(row.Time);
    if (time.isEmpty()) return {};
    QByteArray line = "{";
    if (layout.WithSet) line += "\"set\":" + QByteArray::number(row.Set) + ',';
    const QByteArray shown = TimeInFormat(time, layout.Times);
    line += "\"time\":" + (layout.Times == TimeFormat::Epoch ? shown : '"' + shown + '"');
    line += ",\"t1\":" + Optional(row.T1, "null") + ",\"t2\":" + Optional(row.T2, "null");
    line += ",\"unit\":" + (row.Unit.isEmpty() ? QByteArray("null") : JsonString(row.Unit));
    if (layout.WithAlarm) line += ",\"alarm\":" + JsonString(row.Alarm);
    return line + "}\n";
}

QByteArray InfluxLine(const ReadingRow& row, const RowLayout& layout) {
    const std::optional<qint64> nanoseconds = UnixNanoseconds(row.Time);
    if (!nanoseconds || !LocalMomentAt(row.Time)) return {};
    QByteArray line = "kr820";
    if (!layout.Device.isEmpty()) line += ",device=" + InfluxTag(layout.Device);
    if (!row.Unit.isEmpty()) line += ",unit=" + InfluxTag(row.Unit);
    QByteArrayList fields;
    if (Finite(row.T1)) fields << "t1=" + DecimalBytes(*row.T1);
    if (Finite(row.T2)) fields << "t2=" + DecimalBytes(*row.T2);
    if (layout.WithSet) fields << "set=" + QByteArray::number(row.Set) + 'i';
    if (layout.WithAlarm) fields << "alarm=" + InfluxString(row.Alarm);
    // A point needs a field: a reading with neither channel still says that it was taken.
    if (fields.isEmpty()) fields << "valid=false";
    return line + ' ' + fields.join(',') + ' ' + QByteArray::number(*nanoseconds) + '\n';
}

}  // namespace

QByteArray CsvField(const QString& text) {
    QByteArray bytes = text.toUtf8();
    if (!bytes.contains(',') && !bytes.contains('"') && !bytes.contains('\n') &&
        !bytes.contains('\r'))
        return bytes;
    bytes.replace("\"", "\"\"");
    return '"' + bytes + '"';
}

QByteArray JsonString(const QString& text) {
    QByteArray out = "\"";
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\') {
            out += '\\';
            out += static_cast<char>(c.unicode());
        } else if (c.unicode() < 0x20) {
            out += QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toLatin1();
        } else {
            out += QString(c).toUtf8();
        }
    }
    return out + '"';
}

QString IsoLocalTime(const QDateTime& time) {
    if (!time.isValid()) return {};
    const QDateTime local = time.toLocalTime();
    char text[kIsoTimeChars];
    WriteIsoTime(text, local.date(), local.time(), local.offsetFromUtc());
    return QString::fromLatin1(text, kIsoTimeChars);
}

QString IsoTimeAt(UtcSeconds instant) { return QString::fromLatin1(IsoTimeBytes(instant)); }

QString IsoLocalTime(TDateTime time) {
    const std::optional<UtcSeconds> instant = InstantOfWallClock(time);
    return instant ? IsoTimeAt(*instant) : QString();
}

QString DecimalText(double value) { return QString::fromLatin1(DecimalBytes(value)); }

std::optional<double> ShownValue(float stored) {
    if (IsShownAsOL(stored) || !std::isfinite(stored)) return std::nullopt;
    return stored;
}

QByteArray HeaderLine(const RowLayout& layout) {
    // A UTC time or Unix seconds carries its offset already.
    if (layout.Times != TimeFormat::Iso && layout.Format != RowFormat::JsonLines &&
        layout.Format != RowFormat::Influx)
        return HeaderLine({layout.Format, layout.WithSet, {}, TimeFormat::Iso, layout.WithAlarm})
            .replace(layout.Format == RowFormat::Csv ? "utc_offset," : "utc_offset\t", "");
    const QByteArray alarm = layout.WithAlarm ? QByteArray("alarm") : QByteArray();
    switch (layout.Format) {
        case RowFormat::Csv:
            return (layout.WithSet ? "set,time,utc_offset,t1,t2,unit"
                                   : "time,utc_offset,t1,t2,unit") +
                   (alarm.isEmpty() ? QByteArray() : ',' + alarm) + kCsvEnd;
        case RowFormat::Tsv:
            return (layout.WithSet ? "set\ttime\tutc_offset\tt1\tt2\tunit"
                                   : "time\tutc_offset\tt1\tt2\tunit") +
                   (alarm.isEmpty() ? QByteArray() : '\t' + alarm) + '\n';
        case RowFormat::JsonLines:
        case RowFormat::Influx:
            break;
    }
    return {};
}

QByteArray RowLine(const ReadingRow& row, const RowLayout& layout) {
    switch (layout.Format) {
        case RowFormat::Csv:
            return SeparatedLine(row, layout, ',', kCsvEnd);
        case RowFormat::Tsv:
            return SeparatedLine(row, layout, '\t', "\n");
        case RowFormat::JsonLines:
            return JsonLine(row, layout);
        case RowFormat::Influx:
            return InfluxLine(row, layout);
    }
    return {};
}

QByteArray RowsText(const std::vector<ReadingRow>& rows, const RowLayout& layout) {
    QByteArray text = HeaderLine(layout);
    text.reserve(text.size() + static_cast<qsizetype>(rows.size()) * 48);
    for (const ReadingRow& row : rows) text += RowLine(row, layout);
    return text;
}

}  // namespace kr820::core
