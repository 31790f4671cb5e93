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

store::StoredReading StoredReadingOf(const core::ReadingRow& row, qint64 timeMs) {
    store::StoredReading reading;
    reading.TimeMs = timeMs;
    reading.T1Valid = row.T1.has_value();
    reading.T2Valid = row.T2.has_value();
    reading.T1 = static_cast<float>(row.T1.value_or(0.0));
    reading.T2 = static_cast<float>(row.T2.value_or(0.0));
    reading.Fahrenheit = row.Unit == QStringLiteral("F");
    return reading;
}

}  // namespace kr820::cli
