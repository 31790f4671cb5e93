// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/data/data_set_store.h"
#include "core/files/reading_rows.h"
#include "core/files/regional_formats.h"

namespace kr820::core {

class ChartData;

// The points of subsets 0 (T1) and 1 (T2), up to the first point whose X is 0: from there on a
// chart holds no samples, as the text files have it. X values are wall-clock times, read in
// order (see InstantOfWallClock).
std::vector<ReadingRow> RowsOfChart(const ChartData& chart, const QString& unit = {});

// Set `set` (0-based) of a store, its rows numbered set + 1: pair p at the instant of the set's
// start plus p intervals.
std::vector<ReadingRow> RowsOfSet(const TDataSetStore& store, int set);

// One data set as a listing shows it.
struct ExportedSet {
    std::optional<UtcSeconds> Start;  // none for a file without points
    qint64 RateSeconds = 0;           // 0 where the file does not say
    int Count = 0;
    QString Type;  // "K", "J", or empty where the file does not say
    QString Unit;
    std::vector<ReadingRow> Rows;
    std::optional<int> Gaps;  // a recording's stretches without readings; none for the meter's sets
};

enum class ExportOpenStatus {
    Opened,
    CannotOpen,   // Problem says why
    Unreadable,   // not a file this program reads, or damaged beyond its first set
    Damaged,      // a collection with a damaged set; Sets holds the sets before it if asked for
    UnknownKind,  // the file name's extension is none the program opens
    NoData,       // a text file of which no line reads: Problem names the first that does not
};

struct ExportOpenOutcome {
    ExportOpenStatus Status = ExportOpenStatus::Opened;
    QString Problem;  // one line for the user, for anything but Opened
    std::vector<ExportedSet> Sets;
    int RecoveredSets = 0;  // with `recoverDamaged`: the sets kept before a damaged one
    // Sets (0-based) whose start date did not decode: they start at the time of opening.
    std::vector<std::int32_t> UndatedSets;
    // What the user should hear about a file that was read all the same.
    QStringList Notes;
};

// Any file the program opens (".820", ".txt", ".csv", ".ghf") as data sets of rows; a single set
// file gives one set. Text files are read with `formats`, the regional settings they were
// written with. A collection with a damaged set fails unless `recoverDamaged`, which keeps the
// sets before it (Status stays Damaged, with RecoveredSets > 0).
ExportOpenOutcome OpenForExport(const QString& path, const RegionalFormats& formats,
                                bool recoverDamaged = false);

// The sets of a decoded store.
std::vector<ExportedSet> ExportedSets(const TDataSetStore& store);

}  // namespace kr820::core
