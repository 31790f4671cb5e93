// SPDX-License-Identifier: MIT
#pragma once

#include <QString>
#include <memory>

#include "store/recording_writer.h"

namespace kr820::cli {

// live --store FILE: the rows live prints also appended to a recording store, the same the
// desktop opens (and follows while this writes it), through the writer the desktop records with.
// The store, or the line that says why it cannot be written.
std::unique_ptr<store::RecordingWriter> OpenLiveStore(const QString& path,
                                                      const store::StoreHeader& header,
                                                      QString* problem);

}  // namespace kr820::cli
