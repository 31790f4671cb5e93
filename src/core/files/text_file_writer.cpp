// SPDX-License-Identifier: MIT
#include "core/files/text_file_writer.h"

#include <QIODevice>
#include <algorithm>

#include "core/chart/chart_data.h"
#include "core/files/save_file.h"

namespace kr820::core {
namespace {

// Lines are gathered and written in chunks: the file is unbuffered, so that no write goes
// unchecked, and a system call per line would be slow.
constexpr qsizetype kWriteChunkBytes = 64 * 1024;

}  // namespace

TextWriteOutcome WriteTextFile(const ChartData& chart, const QString& path, TextSeparator separator,
                               PointRange range, const RegionalFormats& formats,
                               const ProgressCallback& progress) {
    TextWriteOutcome outcome;
    const qsizetype total = range.Count();
    outcome.File = WriteThroughSaveFile(path, [&](QIODevice& file) {
        TextLineWriter lines(separator, formats);
        QByteArray pending;
        pending.reserve(kWriteChunkBytes + 256);
        for (int point = std::max(range.First, 1) - 1; point < range.Last; ++point) {
            const TDateTime x = chart.XDataII(0, point);
            if (x == 0) break;
            lines.Append(x, chart.YData(0, point), chart.YData(1, point), pending);
            if (pending.size() >= kWriteChunkBytes) {
                if (!WriteAll(file, pending)) return false;
                pending.clear();
            }
            ++outcome.Lines;
            if (progress && !progress(outcome.Lines, total)) {
                outcome.Cancelled = true;
                break;
            }
        }
        return WriteAll(file, pending);
    });
    return outcome;
}

}  // namespace kr820::core
