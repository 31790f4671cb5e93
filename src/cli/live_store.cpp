// SPDX-License-Identifier: MIT
#include "cli/live_store.h"

namespace kr820::cli {

std::unique_ptr<store::RecordingWriter> OpenLiveStore(const QString& path,
                                                      const store::StoreHeader& header,
                                                      QString* problem) {
    QString error;
    auto writer = store::RecordingWriter::Open(path, header, &error);
    if (!writer) *problem = QStringLiteral("cannot write the store '%1': %2").arg(path, error);
    return writer;
}

}  // namespace kr820::cli
