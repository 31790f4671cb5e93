// SPDX-License-Identifier: MIT
#include "core/report/report_document.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <cmath>

#include "core/files/reading_rows.h"

namespace kr820::core {
namespace {

const std::array<QString, 2> kChannelNames{QStringLiteral("T1"), QStringLiteral("T2")};

QString TimeText(qint64 ms) { return IsoTimeAt(ms >= 0 ? ms / 1000 : (ms - 999) / 1000); }

QString Degrees(double value, DisplayUnit unit) {
    return QStringLiteral("%1 %2").arg(DecimalText(value), UnitSymbol(unit));
}

QString Fixed(double value, int decimals) { return QString::number(value, 'f', decimals); }

// A figure rounded as it is shown, for JSON.
double Rounded(double value, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::round(value * scale) / scale;
}

QString ExcursionText(const std::optional<Excursion>& excursion, DisplayUnit unit) {
    if (!excursion) return QStringLiteral("none");
    return QStringLiteral("%1 from %2, to %3")
        .arg(DurationText(excursion->DurationMs), TimeText(excursion->StartMs),
             Degrees(excursion->Extreme, unit));
}

void AddLimitRows(std::vector<ReportTableRow>& rows, const ReportFigures& figures, bool high) {
    const QString side = high ? QStringLiteral("above") : QStringLiteral("below");
    ReportTableRow limit{high ? QStringLiteral("High limit") : QStringLiteral("Low limit"), {}};
    ReportTableRow time{QStringLiteral("Time %1").arg(side), {}};
    ReportTableRow count{QStringLiteral("Excursions %1").arg(side), {}};
    ReportTableRow first{QStringLiteral("First excursion %1").arg(side), {}};
    ReportTableRow longest{QStringLiteral("Longest excursion %1").arg(side), {}};
    bool any = false;
    for (int c = 0; c < 2; ++c) {
        const std::optional<LimitFigures>& lf =
            high ? figures.Channels[c].High : figures.Channels[c].Low;
        if (!figures.Reported[c] || !lf) continue;
        any = true;
        limit.Values[c] = Degrees(lf->Limit, figures.Unit);
        time.Values[c] = DurationText(lf->TimePastMs);
        count.Values[c] = QString::number(lf->Excursions);
        first.Values[c] = ExcursionText(lf->First, figures.Unit);
        longest.Values[c] = ExcursionText(lf->Longest, figures.Unit);
    }
    if (!any) return;
    for (ReportTableRow* row : {&limit, &time, &count, &first, &longest}) rows.push_back(*row);
}

QJsonValue TimeValue(const std::optional<qint64>& ms) {
    return ms ? QJsonValue(TimeText(*ms)) : QJsonValue();
}

QJsonValue Number(const std::optional<double>& value, int decimals) {
    return value ? QJsonValue(Rounded(*value, decimals)) : QJsonValue();
}

QJsonValue ExcursionJson(const std::optional<Excursion>& excursion) {
    if (!excursion) return QJsonValue();
    return QJsonObject{{QStringLiteral("start"), TimeText(excursion->StartMs)},
                       {QStringLiteral("duration_s"), excursion->DurationMs / 1000.0},
                       {QStringLiteral("readings"), excursion->Readings},
                       {QStringLiteral("extreme"), Rounded(excursion->Extreme, 1)}};
}

QJsonValue LimitJson(const std::optional<LimitFigures>& figures) {
    if (!figures) return QJsonValue();
    return QJsonObject{{QStringLiteral("limit"), Rounded(figures->Limit, 1)},
                       {QStringLiteral("time_past_s"), figures->TimePastMs / 1000.0},
                       {QStringLiteral("excursions"), figures->Excursions},
                       {QStringLiteral("first"), ExcursionJson(figures->First)},
                       {QStringLiteral("longest"), ExcursionJson(figures->Longest)}};
}

QJsonObject ChannelJson(const ChannelFigures& f, int channel) {
    QJsonObject object{
        {QStringLiteral("channel"), kChannelNames[channel].toLower()},
        {QStringLiteral("readings"), f.Readings},
        {QStringLiteral("invalid"), f.Invalid},
        {QStringLiteral("gaps"), f.Gaps},
        {QStringLiteral("gap_s"), f.GapMs / 1000.0},
        {QStringLiteral("first"), TimeValue(f.FirstMs)},
        {QStringLiteral("last"), TimeValue(f.LastMs)},
        {QStringLiteral("min"), Number(f.Minimum, 1)},
        {QStringLiteral("min_at"), f.Minimum ? TimeValue(f.MinimumAtMs) : QJsonValue()},
        {QStringLiteral("max"), Number(f.Maximum, 1)},
        {QStringLiteral("max_at"), f.Maximum ? TimeValue(f.MaximumAtMs) : QJsonValue()},
        {QStringLiteral("mean"), Number(f.Mean, 2)},
        {QStringLiteral("std_dev"), Number(f.StandardDeviation, 2)},
        {QStringLiteral("mkt"), Number(f.MeanKinetic, 2)},
        {QStringLiteral("high"), LimitJson(f.High)},
        {QStringLiteral("low"), LimitJson(f.Low)},
    };
    if (f.Lethality) {
        object.insert(
            QStringLiteral("lethality"),
            QJsonObject{{QStringLiteral("tref_c"), f.Lethality->Parameters.ReferenceCelsius},
                        {QStringLiteral("z_c"), f.Lethality->Parameters.ZCelsius},
                        {QStringLiteral("f_min"), Rounded(f.Lethality->Minutes, 3)},
                        {QStringLiteral("at_or_above_tref_s"), f.Lethality->AtOrAboveMs / 1000.0}});
    }
    return object;
}

}  // namespace

QString UnitSymbol(DisplayUnit unit) {
    return unit == DisplayUnit::Fahrenheit ? QStringLiteral("°F") : QStringLiteral("°C");
}

QString DurationText(qint64 ms) {
    const qint64 seconds = ms / 1000;
    const qint64 days = seconds / 86400;
    const qint64 hours = seconds / 3600 % 24;
    const qint64 minutes = seconds / 60 % 60;
    const qint64 rest = seconds % 60;
    if (days > 0)
        return QStringLiteral("%1d %2h %3m").arg(days).arg(hours).arg(minutes, 2, 10, QChar(u'0'));
    if (hours > 0)
        return QStringLiteral("%1h %2m %3s")
            .arg(hours)
            .arg(minutes, 2, 10, QChar(u'0'))
            .arg(rest, 2, 10, QChar(u'0'));
    if (minutes > 0) return QStringLiteral("%1m %2s").arg(minutes).arg(rest, 2, 10, QChar(u'0'));
    return QStringLiteral("%1s").arg(rest);
}

std::vector<ReportTableRow> ReportTable(const ReportDocument& document) {
    const ReportFigures& figures = document.Figures;
    const DisplayUnit unit = figures.Unit;
    std::vector<ReportTableRow> rows;
    const auto add = [&](const QString& label, const auto& text) {
        ReportTableRow row{label, {}};
        for (int c = 0; c < 2; ++c) {
            if (figures.Reported[c]) row.Values[c] = text(figures.Channels[c]);
        }
        rows.push_back(row);
    };
    const auto orNone = [](const std::optional<double>& value, const auto& text) {
        return value ? text(*value) : QStringLiteral("-");
    };
    add(QStringLiteral("Readings with a value"),
        [](const ChannelFigures& f) { return QString::number(f.Readings); });
    add(QStringLiteral("Readings without a value"),
        [](const ChannelFigures& f) { return QString::number(f.Invalid); });
    add(QStringLiteral("Gaps (left out)"), [](const ChannelFigures& f) {
        return f.Gaps == 0 ? QStringLiteral("0")
                           : QStringLiteral("%1, %2").arg(f.Gaps).arg(DurationText(f.GapMs));
    });
    add(QStringLiteral("Minimum"), [&](const ChannelFigures& f) {
        return orNone(f.Minimum, [&](double v) {
            return QStringLiteral("%1 at %2").arg(Degrees(v, unit), TimeText(f.MinimumAtMs));
        });
    });
    add(QStringLiteral("Maximum"), [&](const ChannelFigures& f) {
        return orNone(f.Maximum, [&](double v) {
            return QStringLiteral("%1 at %2").arg(Degrees(v, unit), TimeText(f.MaximumAtMs));
        });
    });
    add(QStringLiteral("Mean"), [&](const ChannelFigures& f) {
        return orNone(f.Mean,
                      [&](double v) { return Fixed(v, 2) + QChar(u' ') + UnitSymbol(unit); });
    });
    add(QStringLiteral("Standard deviation"), [&](const ChannelFigures& f) {
        return orNone(f.StandardDeviation,
                      [&](double v) { return Fixed(v, 2) + QChar(u' ') + UnitSymbol(unit); });
    });
    add(QStringLiteral("Mean kinetic temperature"), [&](const ChannelFigures& f) {
        return orNone(f.MeanKinetic,
                      [&](double v) { return Fixed(v, 2) + QChar(u' ') + UnitSymbol(unit); });
    });
    AddLimitRows(rows, figures, true);
    AddLimitRows(rows, figures, false);
    if (figures.Channels[0].Lethality) {
        const LethalityParameters p = figures.Channels[0].Lethality->Parameters;
        add(QStringLiteral("Lethality F (Tref %1 °C, z %2 °C)")
                .arg(DecimalText(p.ReferenceCelsius), DecimalText(p.ZCelsius)),
            [](const ChannelFigures& f) {
                const double minutes = f.Lethality->Minutes;
                return QStringLiteral("%1 min").arg(
                    minutes < 1e6 ? Fixed(minutes, 2) : QString::number(minutes, 'g', 6));
            });
        add(QStringLiteral("Time at or above Tref"),
            [](const ChannelFigures& f) { return DurationText(f.Lethality->AtOrAboveMs); });
    }
    return rows;
}

QStringList ReportHeaderLines(const ReportDocument& document) {
    const ReportFigures& figures = document.Figures;
    QStringList lines;
    if (!document.Heading.isEmpty()) lines << document.Heading;
    lines << QStringLiteral("Source: %1").arg(document.Source);
    lines << QStringLiteral("Range: %1").arg(document.Range);
    lines << QStringLiteral("Start: %1   End: %2")
                 .arg(figures.FirstMs ? TimeText(*figures.FirstMs) : QStringLiteral("-"),
                      figures.LastMs ? TimeText(*figures.LastMs) : QStringLiteral("-"));
    lines << QStringLiteral("Interval: %1%2   Readings: %3")
                 .arg(DurationText(figures.IntervalMs),
                      figures.UnequalIntervals ? QStringLiteral(" (unequal intervals)") : QString())
                 .arg(figures.Readings);
    return lines;
}

QStringList ReportFooterLines(const ReportDocument& document) {
    const ReportFigures& figures = document.Figures;
    QStringList lines;
    lines << QStringLiteral(
                 "MKT: activation energy %1 kJ/mol, R %2 J/(mol·K); each reading weighted by the "
                 "time it stands for")
                 .arg(QString::number(figures.ActivationEnergyKjPerMol, 'g', 10),
                      QString::number(kGasConstantJPerMolK, 'g', 10));
    lines << QStringLiteral(
        "Gaps (readings missing or without a value) are left out of every figure; a limit is "
        "passed only strictly beyond it.");
    lines << QStringLiteral("SHA-256 of the exported rows: %1")
                 .arg(QString::fromLatin1(document.Sha256Hex));
    lines << QStringLiteral("Made by %1 at %2").arg(document.Program, TimeText(document.MadeAtMs));
    return lines;
}

QByteArray ReportText(const ReportDocument& document) {
    QStringList lines{kReportTitle};
    lines << ReportHeaderLines(document) << QString();
    const std::vector<ReportTableRow> rows = ReportTable(document);
    qsizetype labelWidth = 0;
    qsizetype valueWidth = 2;
    for (const ReportTableRow& row : rows) {
        labelWidth = std::max(labelWidth, row.Label.size());
        valueWidth = std::max(valueWidth, row.Values[0].size());
    }
    const auto line = [&](const QString& label, const QString& t1, const QString& t2) {
        QStringList parts{label.leftJustified(labelWidth)};
        if (document.Figures.Reported[0]) parts << t1.leftJustified(valueWidth);
        if (document.Figures.Reported[1]) parts << t2;
        QString text = parts.join(QStringLiteral("  "));
        while (text.endsWith(u' ')) text.chop(1);
        return text;
    };
    lines << line(QString(), kChannelNames[0], kChannelNames[1]);
    for (const ReportTableRow& row : rows) lines << line(row.Label, row.Values[0], row.Values[1]);
    if (!document.Marks.empty()) {
        lines << QString() << QStringLiteral("Alarms:");
        for (const ReportMark& mark : document.Marks)
            lines << QStringLiteral("  %1  %2").arg(TimeText(mark.TimeMs), mark.Text);
    }
    lines << QString() << ReportFooterLines(document);
    return (lines.join(u'\n') + u'\n').toUtf8();
}

QByteArray ReportJson(const ReportDocument& document) {
    const ReportFigures& figures = document.Figures;
    QJsonArray channels;
    for (int c = 0; c < 2; ++c) {
        if (figures.Reported[c]) channels.append(ChannelJson(figures.Channels[c], c));
    }
    QJsonArray marks;
    for (const ReportMark& mark : document.Marks)
        marks.append(QJsonObject{{QStringLiteral("time"), TimeText(mark.TimeMs)},
                                 {QStringLiteral("channel"), kChannelNames[mark.Channel].toLower()},
                                 {QStringLiteral("text"), mark.Text}});
    const QJsonObject root{
        {QStringLiteral("title"), kReportTitle},
        {QStringLiteral("heading"), document.Heading},
        {QStringLiteral("source"), document.Source},
        {QStringLiteral("range"), document.Range},
        {QStringLiteral("unit"),
         figures.Unit == DisplayUnit::Fahrenheit ? QStringLiteral("F") : QStringLiteral("C")},
        {QStringLiteral("start"), TimeValue(figures.FirstMs)},
        {QStringLiteral("end"), TimeValue(figures.LastMs)},
        {QStringLiteral("interval_s"), figures.IntervalMs / 1000.0},
        {QStringLiteral("unequal_intervals"), figures.UnequalIntervals},
        {QStringLiteral("readings"), figures.Readings},
        {QStringLiteral("mkt_activation_energy_kj_per_mol"), figures.ActivationEnergyKjPerMol},
        {QStringLiteral("mkt_gas_constant"), kGasConstantJPerMolK},
        {QStringLiteral("mkt_weighting"), QStringLiteral("time")},
        {QStringLiteral("channels"), channels},
        {QStringLiteral("alarm_marks"), marks},
        {QStringLiteral("sha256"), QString::fromLatin1(document.Sha256Hex)},
        {QStringLiteral("program"), document.Program},
        {QStringLiteral("made"), TimeText(document.MadeAtMs)},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

}  // namespace kr820::core
