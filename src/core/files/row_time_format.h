// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

namespace kr820::core {

// How rows write their times. Log pipelines want UTC or Unix seconds; spreadsheets and people
// the local time, whose offset then has a CSV and TSV column of its own.
enum class TimeFormat {
    Iso,    // "2026-12-07T21:53:08+01:00"
    Utc,    // "2026-12-07T20:53:08Z"
    Epoch,  // 1765140788, seconds since 1970-01-01T00:00:00Z
};

// An ISO 8601 local time with its offset ("2026-12-07T21:53:08+01:00") as `format` writes it.
// Empty for text that is no such time.
QByteArray TimeInFormat(const QByteArray& isoWithOffset, TimeFormat format);

}  // namespace kr820::core
