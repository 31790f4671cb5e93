// SPDX-License-Identifier: MIT
#pragma once

#include <qcustomplot.h>

namespace kr820::graph {

// The tick step, in seconds, for a time axis spanning `spanSeconds` with about `tickCount` ticks:
// the smallest of 1, 2, 5, 10, 15, 30 s, 1, 2, 5, 10, 15, 30 min, 1, 2, 3, 6, 12 h, 1, 2, 5, 7,
// 14 days that gives no more than `tickCount` steps; 0 when even 14 days is too short, which is
// left to the date-time ticker's months and years.
double WholeTimeStepSeconds(double spanSeconds, int tickCount);

// A date-time ticker whose steps are whole seconds, minutes, hours or days: every label then shows
// exactly the time of its tick (never ticks every 2.5 s labelled :20, :22, :25), and there are
// never more than the tick count plus one, so that they fit the chart's least width.
class WholeTimeTicker : public QCPAxisTickerDateTime {
protected:
    double getTickStep(const QCPRange& range) override;
};

}  // namespace kr820::graph
