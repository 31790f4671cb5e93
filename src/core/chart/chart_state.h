// SPDX-License-Identifier: MIT
#pragma once

#include "core/chart/chart_annotations.h"
#include "core/chart/chart_axes.h"
#include "core/chart/chart_data.h"
#include "core/chart/chart_settings.h"

namespace kr820::core {

// Everything a chart holds and a saved graph file reproduces, as one copyable value: a load is
// decoded into a fresh one and only then replaces the chart's, so a refused block changes nothing.
struct ChartState {
    ChartData Data;
    ChartSettings Settings;
    ChartAxes Axes;
    ChartAnnotations Annotations;

    bool operator==(const ChartState&) const = default;
};

}  // namespace kr820::core
