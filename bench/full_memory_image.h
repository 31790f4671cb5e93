// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>

#include "core/data/memory_image.h"

namespace kr820::bench {

// Four sets of 8245 pairs fill 131992 of the 132000 memory bytes, with every kind of sample:
// both types, both units, values in range, over and under.
inline QByteArray FullImage() {
    constexpr int kSets = 4;
    constexpr int kPairs = 8245;
    QByteArray memory;
    for (int set = 0; set < kSets; ++set) {
        QByteArray record(16, '\0');
        record[0] = char(0xA5);
        record[1] = char(0x5A);
        const char stamp[] = {0x24, 0x05, 0x17, 0x10, 0x00, 0x00};
        record.replace(3, 6, stamp, 6);
        record[11] = char(set * 3);                                            // rate code
        record[12] = char((set & 1 ? 0x01 : 0x00) | (set & 2 ? 0x40 : 0x00));  // type, unit
        record[14] = char(kPairs >> 8);
        record[15] = char(kPairs & 0xFF);
        for (int p = 0; p < 2 * kPairs; ++p) {
            const auto tenths = static_cast<std::uint16_t>((p * 37) % 16000 - 2500);
            record.append(char(tenths >> 8)).append(char(tenths & 0xFF));
        }
        record.append(char(0x5A)).append(char(0xA5));
        memory += record;
    }
    QByteArray header(core::kFirstRecordOffset, '\0');
    header.replace(0, 5, "\x02HEAD");
    header.replace(core::kSetCountOffset, 5, "4    ");
    header.replace(core::kMemoryEndOffset, 8,
                   QByteArray::number(0xFFFF + memory.size(), 16).toUpper().rightJustified(8, '0'));
    return header + memory;
}

}  // namespace kr820::bench
