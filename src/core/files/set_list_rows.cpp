// SPDX-License-Identifier: MIT
#include "core/files/set_list_rows.h"

#include <algorithm>

#include "core/files/reading_rows.h"

namespace kr820::core {
namespace {

// The ISO time without its offset, and the offset (the last six characters: "+01:00").
constexpr qsizetype kIsoLocalLength = 19;

QByteArray JsonOrNull(const QString& text) {
    return text.isEmpty() ? QByteArrayLiteral("null") : JsonString(text);
}

}  // namespace

QByteArray SetListText(const std::vector<ExportedSet>& sets, bool json, TimeFormat times) {
    const bool offsetApart = times == TimeFormat::Iso;
    const bool gaps = std::any_of(sets.begin(), sets.end(),
                                  [](const ExportedSet& set) { return set.Gaps.has_value(); });
    QByteArray text;
    if (!json) {
        text = offsetApart ? QByteArrayLiteral("set,start,utc_offset,interval,samples,type,unit")
                           : QByteArrayLiteral("set,start,interval,samples,type,unit");
        text += gaps ? QByteArrayLiteral(",gaps\r\n") : QByteArrayLiteral("\r\n");
    }
    int number = 0;
    for (const ExportedSet& set : sets) {
        ++number;
        const QByteArray start =
            set.Start ? TimeInFormat(IsoTimeAt(*set.Start).toLatin1(), times) : QByteArray();
        if (json) {
            const QByteArray startValue = start.isEmpty()              ? QByteArrayLiteral("null")
                                          : times == TimeFormat::Epoch ? start
                                                                       : '"' + start + '"';
            text += "{\"set\":" + QByteArray::number(number) + ",\"start\":" + startValue +
                    ",\"interval\":" + QByteArray::number(set.RateSeconds) +
                    ",\"samples\":" + QByteArray::number(set.Count) +
                    ",\"type\":" + JsonOrNull(set.Type) + ",\"unit\":" + JsonOrNull(set.Unit) +
                    (set.Gaps ? ",\"gaps\":" + QByteArray::number(*set.Gaps) : QByteArray()) +
                    "}\n";
        } else {
            const QByteArray startColumns =
                offsetApart ? start.left(kIsoLocalLength) + ',' + start.mid(kIsoLocalLength)
                            : start;
            text += QByteArray::number(number) + ',' + startColumns + ',' +
                    QByteArray::number(set.RateSeconds) + ',' + QByteArray::number(set.Count) +
                    ',' + CsvField(set.Type) + ',' + CsvField(set.Unit) +
                    (gaps ? ',' + QByteArray::number(set.Gaps.value_or(0)) : QByteArray()) + "\r\n";
        }
    }
    return text;
}

}  // namespace kr820::core
