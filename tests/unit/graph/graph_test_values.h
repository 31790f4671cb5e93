// SPDX-License-Identifier: MIT
// Readable values for the graph rules' tests: clock times, a fixed locale and charts filled from
// lists of temperatures.
#pragma once

#include <QDateTime>
#include <QLocale>
#include <vector>

#include "core/chart/chart_data.h"
#include "core/time/date_time.h"

namespace kr820::core::testing {

// Day first, 24-hour clock: "17/05/2024", "10:00:00".
inline QLocale FixedLocale() { return QLocale(QLocale::English, QLocale::UnitedKingdom); }

inline TDateTime At(int year, int month, int day, int hour, int minute, int second) {
    return ToTDateTime(QDateTime(QDate(year, month, day), QTime(hour, minute, second)));
}

// Two subsets of the given Y values, one point every `stepSeconds` from `start`.
inline void FillChart(ChartData& data, const std::vector<float>& t1, const std::vector<float>& t2,
                      int stepSeconds, TDateTime start = At(2024, 5, 17, 10, 0, 0)) {
    data.SetSubsets(2);
    data.SetPoints(static_cast<int>(t1.size()));
    for (int i = 0; i < static_cast<int>(t1.size()); ++i) {
        for (int subset = 0; subset < 2; ++subset)
            data.SetXDataII(subset, i, start + i * stepSeconds * kOneSecond);
        data.SetYData(0, i, t1[i]);
        data.SetYData(1, i, t2[i]);
    }
}

}  // namespace kr820::core::testing
