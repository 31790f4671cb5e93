// SPDX-License-Identifier: MIT
#include "core/data/data_set_grid.h"

#include "core/data/rate_codes.h"
#include "core/data/set_flags.h"

namespace kr820::core {

QString ShortDateText(TDateTime value, const QLocale& locale) {
    return locale.toString(FromTDateTime(value).date(), QLocale::ShortFormat);
}

QStringList DataSetGridRow(const TDataSetStore& store, int set, const QLocale& locale) {
    const TDateTime start = store.StartTimes().at(set);
    const std::uint8_t flags = store.SetFlags().at(set);
    return {
        QString::number(set + 1),
        ShortDateText(start, locale),
        FromTDateTime(start).time().toString(QStringLiteral("hh:mm:ss")),
        QString::fromLatin1(RateText(store.RateCodes().at(set))),
        QString::number(store.SampleCounts().at(set)),
        QString::fromLatin1(TypeText(flags)),
        QString::fromLatin1(UnitText(flags)),
    };
}

}  // namespace kr820::core
