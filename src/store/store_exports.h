// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

#include "core/files/file_outcome.h"
#include "core/files/reading_rows.h"
#include "core/files/text_file_writer.h"
#include "core/files/text_line.h"

namespace kr820::store {

class StoreReader;
struct StoredReading;

// A stored reading as every file written from a store takes it: its instant in whole seconds cut
// (a row never carries a time still to come), no value for a channel that had none, its unit,
// and set 1 (a store holds one data set).
core::ReadingRow RowOfStoredReading(const StoredReading& reading);

// Files written from a store a block of readings at a time, so that memory does not grow with
// the recording. Each file appears only once whole; `progress` hears (readings written, readings
// in all) and may cancel, which keeps the lines written as a shorter file.

// Readings [first, end) as a text file of the single data set kind (date, time, T1, T2).
core::TextWriteOutcome WriteStoreTextFile(StoreReader& reader, const QString& path,
                                          core::TextSeparator separator, qint64 first, qint64 end,
                                          const core::RegionalFormats& formats,
                                          const core::ProgressCallback& progress = {});

// Every reading as rows for scripts and spreadsheets, with its unit.
core::WriteOutcome WriteStoreRows(StoreReader& reader, const QString& path,
                                  const core::RowLayout& layout,
                                  const core::ProgressCallback& progress = {});

}  // namespace kr820::store
