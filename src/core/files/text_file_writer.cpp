// SPDX-License-Identifier: MIT
#include "core/files/text_file_writer.h"

#include <QIODevice>
#include <algorithm>

#include "core/chart/chart_data.h"
#include "core/files/save_file.h"

namespace kr820::core {

TextWriteOutcome WriteTextFile(const ChartData& chart, const QString& path, TextSeparator separator,
                               PointRange range, const RegionalFormats& formats,
                               const ProgressCallback& progress) {
    TextWriteOutcome outcome;
    const qsizetype total = range.Count();
    outcome.File = WriteThroughSaveFile(path, [&](QIODevice& file) {
        for (int point = std::max(range.First, 1) - 1; point < range.Last; ++point) {
            const TDateTime x = chart.XDataII(0, point);
            if (x == 0) break;
            const QString line =
                TextLine(x, chart.YData(0, point), chart.YData(1, point), separator, formats);
            if (file.write(line.toUtf8() + "\r\n") < 0) return false;
            ++outcome.Lines;
            if (progress && !progress(outcome.Lines, total)) {
                outcome.Cancelled = true;
                break;
            }
        }
        return true;
    });
    return outcome;
}

}  // namespace kr820::core
