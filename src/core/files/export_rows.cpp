// SPDX-License-Identifier: MIT
#include "core/files/export_rows.h"

#include <QFileInfo>

#include "core/chart/chart_data.h"
#include "core/chart/chart_model.h"
#include "core/data/rate_codes.h"
#include "core/data/set_flags.h"
#include "core/files/collection_file.h"
#include "core/files/graph_file.h"
#include "core/files/single_file_kind.h"
#include "core/files/spreadsheet_rows.h"
#include "core/files/text_file_reader.h"

namespace kr820::core {
namespace {

ExportOpenOutcome Failed(ExportOpenStatus status, QString problem) {
    ExportOpenOutcome outcome;
    outcome.Status = status;
    outcome.Problem = std::move(problem);
    return outcome;
}

// A single set file: one set, its interval taken from its first two points.
ExportOpenOutcome SingleSet(std::vector<ReadingRow> rows) {
    ExportedSet set;
    set.Count = static_cast<int>(rows.size());
    if (!rows.empty()) set.Start = rows.front().Time;
    if (rows.size() > 1) set.RateSeconds = rows[1].Time - rows[0].Time;
    for (ReadingRow& row : rows) row.Set = 1;
    set.Rows = std::move(rows);
    ExportOpenOutcome outcome;
    outcome.Sets.push_back(std::move(set));
    return outcome;
}

// The spreadsheet rows of this program, read back: one set per run of rows with the same set
// number (all of them one set without a set column).
ExportOpenOutcome SpreadsheetSets(const QString& path) {
    SpreadsheetReadOutcome read = ReadSpreadsheetRows(path);
    if (read.Status == SpreadsheetReadStatus::CannotOpen)
        return Failed(ExportOpenStatus::CannotOpen, read.Problem);
    if (read.Status == SpreadsheetReadStatus::NoRows)
        return Failed(ExportOpenStatus::NoData, read.Problem);
    ExportOpenOutcome outcome;
    if (read.SkippedLines > 0)
        outcome.Notes << QStringLiteral(
                             "%1 lines do not read as rows and are left out; the first "
                             "is %2")
                             .arg(read.SkippedLines)
                             .arg(read.FirstSkipped);
    for (std::size_t first = 0; first < read.Rows.size();) {
        std::size_t end = first + 1;
        while (end < read.Rows.size() && read.Rows[end].Set == read.Rows[first].Set) ++end;
        ExportedSet set;
        set.Rows.assign(read.Rows.begin() + first, read.Rows.begin() + end);
        set.Start = set.Rows.front().Time;
        set.Count = static_cast<int>(set.Rows.size());
        if (set.Rows.size() > 1) set.RateSeconds = set.Rows[1].Time - set.Rows[0].Time;
        set.Unit = set.Rows.front().Unit;
        for (ReadingRow& row : set.Rows) {
            if (row.Unit != set.Unit) set.Unit.clear();
            if (!read.WithSet) row.Set = 1;
        }
        outcome.Sets.push_back(std::move(set));
        first = end;
    }
    return outcome;
}

ExportOpenOutcome OpenCollectionForExport(const QString& path, bool recoverDamaged) {
    TDataSetStore store;
    const CollectionOpenOutcome opened = OpenCollection(path, store);
    switch (opened.Status) {
        case CollectionOpenStatus::Opened: {
            ExportOpenOutcome outcome;
            outcome.Sets = ExportedSets(store);
            outcome.UndatedSets = opened.Parse.UndatedSets;
            return outcome;
        }
        case CollectionOpenStatus::CannotOpen:
            return Failed(ExportOpenStatus::CannotOpen, opened.Reason);
        case CollectionOpenStatus::Empty:
            return Failed(ExportOpenStatus::Unreadable, QStringLiteral("the file is empty"));
        case CollectionOpenStatus::TooLarge:
            return Failed(ExportOpenStatus::Unreadable,
                          QStringLiteral("the file is too large for a logger memory"));
        case CollectionOpenStatus::Damaged:
            break;
    }
    // As the desktop has it: a collection without sets is none it can read.
    if (opened.Parse.Code == ParseCode::NoDataSets)
        return Failed(ExportOpenStatus::Unreadable, QStringLiteral("the file holds no data set"));
    if (opened.Parse.Code != ParseCode::DamagedRecord)
        return Failed(ExportOpenStatus::Unreadable,
                      QStringLiteral("the file holds no readable logger memory"));
    ExportOpenOutcome outcome =
        Failed(ExportOpenStatus::Damaged,
               QStringLiteral("data set %1 is damaged").arg(opened.Parse.ErrorSet + 1));
    if (recoverDamaged) {
        outcome.RecoveredSets = RecoverSetsBeforeDamage(opened.Image, opened.Parse, store,
                                                        NowTDateTime(), &outcome.UndatedSets);
        if (outcome.RecoveredSets > 0) outcome.Sets = ExportedSets(store);
    }
    return outcome;
}

}  // namespace

std::vector<ReadingRow> RowsOfChart(const ChartData& chart, const QString& unit) {
    std::vector<ReadingRow> rows;
    const auto x = chart.X(0);
    const auto t1 = chart.Y(0);
    const auto t2 = chart.Y(1);
    const std::size_t points = std::min({x.size(), t1.size(), t2.size()});
    rows.reserve(points);
    std::optional<UtcSeconds> previous;
    for (std::size_t i = 0; i < points && x[i] != 0; ++i) {
        // In order: the hour the clocks repeat is read once, then again.
        const std::optional<UtcSeconds> instant = InstantOfWallClock(x[i], previous);
        if (!instant) continue;
        rows.push_back({*instant, ShownValue(t1[i]), ShownValue(t2[i]), unit, 0, {}});
        previous = instant;
    }
    return rows;
}

std::vector<ReadingRow> RowsOfSet(const TDataSetStore& store, int set) {
    std::vector<ReadingRow> rows;
    if (set < 0 || set >= store.SetCount()) return rows;
    // The meter samples at equal steps of real time from its start, whatever the local clocks
    // do meanwhile: a step of wall-clock time would repeat or skip an hour where they change.
    const std::optional<UtcSeconds> start = InstantOfWallClock(store.StartTimes()[set]);
    if (!start) return rows;
    const qint64 step = RateSeconds(store.RateCodes()[set]);
    const FlatRange range = store.SetRange(set);
    const QString unit = QString::fromLatin1(UnitText(store.SetFlags()[set]));
    rows.reserve(static_cast<std::size_t>(range.Count / 2));
    qint64 pair = 0;
    for (qsizetype i = range.First; i + 1 < range.First + range.Count; i += 2, ++pair)
        rows.push_back({*start + pair * step,
                        ShownValue(store.Values()[i]),
                        ShownValue(store.Values()[i + 1]),
                        unit,
                        set + 1,
                        {}});
    return rows;
}

std::vector<ExportedSet> ExportedSets(const TDataSetStore& store) {
    std::vector<ExportedSet> sets;
    sets.reserve(static_cast<std::size_t>(store.SetCount()));
    for (int set = 0; set < store.SetCount(); ++set) {
        const std::uint8_t flags = store.SetFlags()[set];
        sets.push_back({InstantOfWallClock(store.StartTimes()[set]),
                        RateSeconds(store.RateCodes()[set]), store.SampleCounts()[set],
                        QString::fromLatin1(TypeText(flags)), QString::fromLatin1(UnitText(flags)),
                        RowsOfSet(store, set), std::nullopt});
    }
    return sets;
}

ExportOpenOutcome OpenForExport(const QString& path, const RegionalFormats& formats,
                                bool recoverDamaged) {
    if (QFileInfo(path).suffix().toLower() == QStringLiteral("820"))
        return OpenCollectionForExport(path, recoverDamaged);
    if (!QFileInfo(path).isFile())
        return Failed(ExportOpenStatus::CannotOpen, QFileInfo::exists(path)
                                                        ? QStringLiteral("not a file")
                                                        : QStringLiteral("no such file"));
    switch (SingleFileKindOf(path)) {
        case SingleFileKind::Graph: {
            ChartModel chart;
            const GraphReadOutcome read = ReadGraphFile(path, chart);
            if (read.Status == GraphReadStatus::CannotOpen)
                return Failed(ExportOpenStatus::CannotOpen, read.Reason);
            if (read.Status != GraphReadStatus::Loaded)
                return Failed(ExportOpenStatus::Unreadable,
                              QStringLiteral("the graph file is damaged"));
            return SingleSet(RowsOfChart(chart.Data()));
        }
        case SingleFileKind::TabText:
        case SingleFileKind::CommaText: {
            if (IsSpreadsheetFile(path)) return SpreadsheetSets(path);
            const bool comma = SingleFileKindOf(path) == SingleFileKind::CommaText;
            const TextReadOutcome read =
                ReadTextFile(path, comma ? TextSeparator::Comma : TextSeparator::Tab, formats);
            if (read.Status == TextReadStatus::NoPoints)
                return Failed(ExportOpenStatus::NoData, read.Reason);
            if (read.Status != TextReadStatus::Read)
                return Failed(ExportOpenStatus::CannotOpen, read.Reason);
            ChartData chart;
            chart.SetSubsets(2);
            chart.SetPoints(read.Content.Points);
            LayTextFileOntoChart(read.Content, chart);
            return SingleSet(RowsOfChart(chart));
        }
        case SingleFileKind::Unknown:
            break;
    }
    return Failed(ExportOpenStatus::UnknownKind,
                  QStringLiteral("not a file this program reads (.820, .txt, .csv or .ghf)"));
}

}  // namespace kr820::core
