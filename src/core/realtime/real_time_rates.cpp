// SPDX-License-Identifier: MIT
#include "core/realtime/real_time_rates.h"

#include "core/protocol/exchange_limits.h"

namespace kr820::core {

int RealTimeRateIndex(const QString& caption) {
    for (int i = 0; i < static_cast<int>(kRealTimeRates.size()); ++i)
        if (caption == QLatin1String(kRealTimeRates[i].caption)) return i;
    return -1;
}

QString PeriodText(long long seconds) {
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg((seconds % 3600) / 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

TDateTime ReadingGapThreshold(int rateSeconds) {
    // Half a tick short of the first spacing a lost link can make, so that a tick's jitter
    // falls on neither side.
    const double seconds = rateSeconds + kExchangeLimits.ticksBeforeLinkLost - 0.5;
    return seconds / kSecondsPerDay;
}

}  // namespace kr820::core
