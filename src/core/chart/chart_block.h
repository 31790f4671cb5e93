// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <cstdint>

#include "core/chart/chart_state.h"

namespace kr820::core {

// The saved form of a whole chart, the content of a graph file behind its length prefix:
// "KRCH", a 16-bit version, then the data, settings, axes and annotations, little-endian.
inline constexpr char kChartBlockMagic[4] = {'K', 'R', 'C', 'H'};
inline constexpr std::uint16_t kChartBlockVersion = 1;

// One point of one subset: its X (8 bytes) and Y (4 bytes).
inline constexpr qsizetype kChartBlockPointBytes = 8 + 4;
// The largest block a chart can save: every subset full, and room for settings, axes and
// annotations far beyond what a user writes. Anything longer is refused unread.
inline constexpr qint64 kMaxChartBlockBytes =
    qint64{ChartData::kMaxSubsets} * ChartData::kMaxPoints * kChartBlockPointBytes +
    16 * 1024 * 1024;

enum class ChartLoadResult {
    Loaded,
    NotAChartBlock,  // wrong magic
    UnknownVersion,  // written by a newer program
    Truncated,       // ends before its content does
    BadSize,         // a count beyond the chart's limits or beyond the bytes that follow
    BadValue,        // a code or flag no chart holds, or an X that is no date the program shows
    TrailingBytes,   // more bytes after the content
};

QByteArray EncodeChartBlock(const ChartState& state);

// Decodes a whole block into `out`, which is assigned only when the result is Loaded. Every
// count is checked against the chart's limits and the bytes left before it sizes anything.
ChartLoadResult DecodeChartBlock(QByteArrayView block, ChartState& out);

}  // namespace kr820::core
