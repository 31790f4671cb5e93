// SPDX-License-Identifier: MIT
#include "core/files/reading_rows.h"

#include <QLocale>
#include <QTimeZone>

#include "core/data/limit_values.h"

namespace kr820::core {
namespace {

const QByteArray kCsvEnd = QByteArrayLiteral("\r\n");

QByteArray Optional(const std::optional<double>& value, const char* missing) {
    return value ? DecimalText(*value).toLatin1() : QByteArray(missing);
}

// Unit texts come from this program, but a set column or a device name may not: quote what needs
// it rather than trust it.
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

// Line protocol tag values escape commas, equals signs and blanks.
QByteArray InfluxTag(const QString& text) {
    QByteArray out;
    for (const char c : text.toUtf8()) {
        if (c == ',' || c == '=' || c == ' ') out += '\\';
        out += c;
    }
    return out;
}

qint64 UnixNanoseconds(TDateTime time) {
    return FromTDateTime(time).toMSecsSinceEpoch() * 1'000'000;
}

QByteArray SeparatedLine(const ReadingRow& row, const RowLayout& layout, char separator,
                         const QByteArray& end) {
    QByteArray line;
    if (layout.WithSet) line += QByteArray::number(row.Set) + separator;
    line += IsoLocalTime(row.Time).toLatin1() + separator;
    line += Optional(row.T1, "") + separator + Optional(row.T2, "") + separator;
    line += separator == ',' ? CsvField(row.Unit) : row.Unit.toUtf8();
    return line + end;
}

QByteArray JsonLine(const ReadingRow& row, const RowLayout& layout) {
    QByteArray line = "{";
    if (layout.WithSet) line += "\"set\":" + QByteArray::number(row.Set) + ',';
    line += "\"time\":" + JsonString(IsoLocalTime(row.Time));
    line += ",\"t1\":" + Optional(row.T1, "null") + ",\"t2\":" + Optional(row.T2, "null");
    line += ",\"unit\":" + (row.Unit.isEmpty() ? QByteArray("null") : JsonString(row.Unit));
    return line + "}\n";
}

QByteArray InfluxLine(const ReadingRow& row, const RowLayout& layout) {
    QByteArray line = "kr820";
    if (!layout.Device.isEmpty()) line += ",device=" + InfluxTag(layout.Device);
    if (!row.Unit.isEmpty()) line += ",unit=" + InfluxTag(row.Unit);
    QByteArrayList fields;
    if (row.T1) fields << "t1=" + DecimalText(*row.T1).toLatin1();
    if (row.T2) fields << "t2=" + DecimalText(*row.T2).toLatin1();
    if (layout.WithSet) fields << "set=" + QByteArray::number(row.Set) + 'i';
    // A point needs a field: a reading with neither channel still says that it was taken.
    if (fields.isEmpty()) fields << "valid=false";
    return line + ' ' + fields.join(',') + ' ' + QByteArray::number(UnixNanoseconds(row.Time)) +
           '\n';
}

}  // namespace

QString IsoLocalTime(const QDateTime& time) {
    if (!time.isValid()) return {};
    const QDateTime local = time.toLocalTime();
    const int offset = local.offsetFromUtc();
    const int minutes = std::abs(offset) / 60;
    return local.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")) +
           (offset < 0 ? QLatin1Char('-') : QLatin1Char('+')) +
           QStringLiteral("%1:%2")
               .arg(minutes / 60, 2, 10, QLatin1Char('0'))
               .arg(minutes % 60, 2, 10, QLatin1Char('0'));
}

QString IsoLocalTime(TDateTime time) { return IsoLocalTime(FromTDateTime(time)); }

QString DecimalText(double value) {
    // -0.04 would otherwise read "-0.0".
    QString text = QLocale::c().toString(value, 'f', 1);
    if (text == QStringLiteral("-0.0")) text.remove(0, 1);
    return text;
}

std::optional<double> ShownValue(float stored) {
    if (IsShownAsOL(stored)) return std::nullopt;
    return stored;
}

QByteArray HeaderLine(const RowLayout& layout) {
    switch (layout.Format) {
        case RowFormat::Csv:
            return (layout.WithSet ? "set,time,t1,t2,unit" : "time,t1,t2,unit") + kCsvEnd;
        case RowFormat::Tsv:
            return layout.WithSet ? "set\ttime\tt1\tt2\tunit\n" : "time\tt1\tt2\tunit\n";
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
