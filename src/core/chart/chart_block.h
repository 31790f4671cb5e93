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

enum class ChartLoadResult {
    Loaded,
    NotAChartBlock,  // wrong magic
    UnknownVersion,  // written by a newer program
    Truncated,       // ends before its content does
    BadSize,         // a count beyond the chart's limits or beyond the bytes that follow
    BadValue,        // a code or flag no chart holds
    TrailingBytes,   // more bytes after the content
};

QByteArray EncodeChartBlock(const ChartState& state);

// Decodes a whole block into `out`, which is assigned only when the result is Loaded. Every
// count is checked against the chart's limits and the bytes left before it sizes anything.
ChartLoadResult DecodeChartBlock(QByteArrayView block, ChartState& out);

}  // namespace kr820::core
