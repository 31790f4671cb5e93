// SPDX-License-Identifier: MIT
#include "core/files/set_list_rows.h"

#include "core/files/reading_rows.h"

namespace kr820::core {
namespace {

// The ISO time without its offset, and the offset (the last six characters: "+01:00").
constexpr qsizetype kIsoLocalLength = 19;

QByteArray JsonOrNull(const QString& text) {
    return text.isEmpty() ? QByteArrayLiteral("null") : JsonString(text);
}

}  // namespace

QByteArray SetListText(const std::vector<ExportedSet>& sets, bool json) {
    QByteArray text =
        json ? QByteArray() : QByteArrayLiteral("set,start,utc_offset,rate,count,type,unit\r\n");
    int number = 0;
    for (const ExportedSet& set : sets) {
        ++number;
        const QString start = set.Start ? IsoTimeAt(*set.Start) : QString();
        if (json) {
            text += "{\"set\":" + QByteArray::number(number) + ",\"start\":" + JsonOrNull(start) +
                    ",\"rate\":" + QByteArray::number(set.RateSeconds) +
                    ",\"count\":" + QByteArray::number(set.Count) +
                    ",\"type\":" + JsonOrNull(set.Type) + ",\"unit\":" + JsonOrNull(set.Unit) +
                    "}\n";
        } else {
            text += QByteArray::number(number) + ',' + CsvField(start.left(kIsoLocalLength)) + ',' +
                    CsvField(start.mid(kIsoLocalLength)) + ',' +
                    QByteArray::number(set.RateSeconds) + ',' + QByteArray::number(set.Count) +
                    ',' + CsvField(set.Type) + ',' + CsvField(set.Unit) + "\r\n";
        }
    }
    return text;
}

}  // namespace kr820::core
