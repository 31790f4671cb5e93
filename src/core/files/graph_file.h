// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/chart/chart_block.h"
#include "core/files/file_outcome.h"

namespace kr820::core {

class ChartModel;

// A graph file is the chart's saved block behind its length, 4 bytes little-endian.
inline constexpr qint64 kGraphFileLengthBytes = 4;

WriteOutcome WriteGraphFile(const ChartModel& chart, const QString& path);

enum class GraphReadStatus {
    Loaded,
    CannotOpen,
    // Shorter than its length prefix, or than the length it gives.
    StreamReadError,
    // Bytes follow the block, or the chart refused the block (see Chart).
    Damaged,
};

struct GraphReadOutcome {
    GraphReadStatus Status = GraphReadStatus::Loaded;
    QString Reason;  // the system's, for CannotOpen
    ChartLoadResult Chart = ChartLoadResult::Loaded;
};

// Loads a graph file into `chart`, which changes only when the file is whole. The length is
// checked against the file's size before anything is allocated for it.
GraphReadOutcome ReadGraphFile(const QString& path, ChartModel& chart);

// The message box texts; empty for success.
QString GraphWriteMessage(const WriteOutcome& outcome, const QString& path);
QString GraphReadMessage(const GraphReadOutcome& outcome, const QString& path);

}  // namespace kr820::core
