// SPDX-License-Identifier: MIT
#pragma once

#include "core/files/reading_rows.h"
#include "core/report/report_document.h"
#include "store/store_reader.h"

namespace kr820::store {

// A reading as the report's figures take it (its rows are RowOfStoredReading's, as export's).
core::ReportReading ReportReadingOf(const StoredReading& reading);

// The limits the store's alarms were raised at (the last raise of each), in the unit of its
// first reading: a report's limits where none are given.
std::array<core::ReportLimits, 2> AlarmLimitsOfStore(StoreReader& reader);

// The figures, chart, hash and alarm marks of the readings of `settings`' range, read once a
// block at a time, whatever the store's length. False when a block could not be read (the
// reader's Failure() says why).
bool ReportStore(StoreReader& reader, const core::ReportSettings& settings,
                 core::ReportDocument& document);

}  // namespace kr820::store
