// SPDX-License-Identifier: MIT
#pragma once

#include <QLocale>
#include <QString>
#include <QStringList>
#include <array>

#include "core/data/data_set_store.h"

namespace kr820::core {

// The DataLogger window's data-set grid: a heading row, then one row per set numbered from 1.
inline constexpr std::array<const char*, 7> kDataSetGridHeadings = {"Set",  "DATE", "TIME", "Rate",
                                                                    "Nums", "Type", "Unit"};

// The cells of set `set` in heading order. Only the date follows regional settings; the caller
// passes QLocale::system() so that tests can pass a fixed locale.
QStringList DataSetGridRow(const TDataSetStore& store, int set, const QLocale& locale);

// The date part of a date-time in the locale's short date format.
QString ShortDateText(TDateTime value, const QLocale& locale);

}  // namespace kr820::core
