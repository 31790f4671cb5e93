// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <vector>

#include "core/files/export_rows.h"
#include "core/files/row_time_format.h"

namespace kr820::core {

// The list of a file's data sets: CSV with a header row (set,start,utc_offset,interval,samples,
// type,unit; the offset apart for local times, as in the exports, so that a spreadsheet reads a
// date; a recording's list ends in a gaps column) or one JSON object a line, written through the
// same field writers as the readings' rows.
QByteArray SetListText(const std::vector<ExportedSet>& sets, bool json,
                       TimeFormat times = TimeFormat::Iso);

}  // namespace kr820::core
