// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <array>
#include <vector>

#include "core/report/report_figures.h"

namespace kr820::core {

// The readings reported, thinned for a chart: per column of equal time, each channel's lowest
// and highest value (NaN where the column holds none), and whether a gap (a reading without a
// value, readings missing) lies in it, where the line must break.
struct ReportChart {
    qint64 FromMs = 0;
    qint64 ToMs = 0;
    struct Column {
        double Low = 0;
        double High = 0;
        bool Broken = false;
    };
    std::array<std::vector<Column>, 2> Columns;
};

// An alarm raised or cleared while the readings were taken.
struct ReportMark {
    qint64 TimeMs = 0;
    int Channel = 0;
    QString Text;  // "t1 high raised at 85.3"
};

// Everything a report shows, whatever it is written as.
struct ReportDocument {
    QString Heading;  // the user's own line: lab, product, batch
    QString Source;   // the file's name, or the meter and the set
    QString Range;    // "all" or the part of it reported
    ReportFigures Figures;
    ReportChart Chart;
    std::vector<ReportMark> Marks;
    QString Program;       // "kr820 1.2.0"
    qint64 MadeAtMs = 0;   // when the report was made
    QByteArray Sha256Hex;  // of the rows the export writes for the same readings
};

// One line of the figures' table: its label and each channel's text ("" where not reported).
struct ReportTableRow {
    QString Label;
    std::array<QString, 2> Values;
};

inline const QString kReportTitle = QStringLiteral("Temperature report");

// The table of figures, as the text and the page show it.
std::vector<ReportTableRow> ReportTable(const ReportDocument& document);
// The lines above the table: heading, source, range, interval, readings, program, time made.
QStringList ReportHeaderLines(const ReportDocument& document);
// The lines below it: the limits and constants used, the hash.
QStringList ReportFooterLines(const ReportDocument& document);
// "°C" or "°F".
QString UnitSymbol(DisplayUnit unit);
// "2h 05m 10s", "45s".
QString DurationText(qint64 ms);

// The report as plain text, and as JSON (numbers as numbers, times in ISO 8601).
QByteArray ReportText(const ReportDocument& document);
QByteArray ReportJson(const ReportDocument& document);

}  // namespace kr820::core
