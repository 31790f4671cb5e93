// SPDX-License-Identifier: MIT
#include "core/files/text_file_reader.h"

#include <QFile>
#include <algorithm>
#include <optional>

#include "core/chart/chart_data.h"
#include "core/files/text_fields.h"

namespace kr820::core {
namespace {

// The longest line allowed, in UTF-8 (at most 3 bytes per UTF-16 unit), with its line end.
constexpr qint64 kMaxLineBytes = kMaxTextLineChars * 3 + 2;

// The lines of data of a text file, one at a time, without their line ends.
class DataLines {
public:
    explicit DataLines(QFile& file) : m_file(file) {}

    // Empty at the end of the data: the end of the file, an empty line or an over-long one.
    std::optional<QString> Next() {
        if (m_ended) return std::nullopt;
        QByteArray raw = m_file.readLine(kMaxLineBytes + 1);
        // Reading stopped at the size limit rather than at a line end: far too long a line.
        const bool cut = !raw.endsWith('\n') && !m_file.atEnd();
        if (raw.endsWith('\n')) raw.chop(1);
        if (raw.endsWith('\r')) raw.chop(1);
        QString line = QString::fromUtf8(raw);
        if (cut || line.isEmpty() || line.size() > kMaxTextLineChars) {
            m_ended = true;
            return std::nullopt;
        }
        return line;
    }

private:
    QFile& m_file;
    bool m_ended = false;
};

std::optional<TDateTime> LineTime(const QString& line, TextSeparator separator,
                                  const RegionalFormats& formats) {
    const auto fields = SplitTextLine(line, separator);
    if (!fields) return std::nullopt;
    return ReadDateAndTime(fields->Date, fields->Time, formats);
}

// Pass 1: how many lines of data, and the times of the first two.
struct Sizing {
    int Lines = 0;
    std::optional<TDateTime> First;
    std::optional<TDateTime> Second;
};

Sizing SizeFile(QFile& file, TextSeparator separator, const RegionalFormats& formats) {
    Sizing sizing;
    DataLines lines(file);
    while (sizing.Lines < ChartData::kMaxPoints) {
        const auto line = lines.Next();
        if (!line) break;
        if (sizing.Lines == 0) sizing.First = LineTime(*line, separator, formats);
        if (sizing.Lines == 1) sizing.Second = LineTime(*line, separator, formats);
        ++sizing.Lines;
    }
    return sizing;
}

}  // namespace

TextReadOutcome ReadTextFile(const QString& path, TextSeparator separator,
                             const RegionalFormats& formats, const ProgressCallback& progress) {
    TextReadOutcome outcome;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        outcome.Status = TextReadStatus::CannotOpen;
        outcome.Reason = file.errorString();
        return outcome;
    }

    const Sizing sizing = SizeFile(file, separator, formats);
    TextFileContent& content = outcome.Content;
    content.Points = std::max(sizing.Lines, kMinTextFilePoints);
    if (sizing.First && sizing.Second && *sizing.Second > *sizing.First) {
        content.MinX = *sizing.First;
        content.MaxX = *sizing.First + (*sizing.Second - *sizing.First) * content.Points;
    }

    // Pass 2 reads no more lines than pass 1 counted, so a file that grows in between cannot
    // fill points the chart was not sized for.
    file.seek(0);
    DataLines lines(file);
    for (int read = 0; read < sizing.Lines; ++read) {
        const auto line = lines.Next();
        if (!line) break;
        const auto fields = SplitTextLine(*line, separator);
        if (!fields) continue;
        const auto point = static_cast<qsizetype>(content.T1.size());
        if (const auto x = ReadDateAndTime(fields->Date, fields->Time, formats)) {
            if (qsizetype(content.X.size()) <= point) content.X.resize(point + 1, 0.0);
            content.X[point] = *x;
        }
        if (!fields->T1) continue;
        content.T1.push_back(ReadValue(*fields->T1, formats));
        content.T2.push_back(ReadValue(fields->T2, formats));
        if (progress && !progress(point + 1, content.Points)) {
            outcome.Status = TextReadStatus::Cancelled;
            break;
        }
    }
    return outcome;
}

void LayTextFileOntoChart(const TextFileContent& content, ChartData& chart) {
    for (qsizetype p = 0; p < qsizetype(content.X.size()); ++p) {
        if (content.X[p] == 0) continue;  // a date that did not read leaves X as prepared
        chart.SetXDataII(0, int(p), content.X[p]);
        chart.SetXDataII(1, int(p), content.X[p]);
    }
    for (qsizetype p = 0; p < qsizetype(content.T1.size()); ++p) {
        chart.SetYData(0, int(p), content.T1[p]);
        chart.SetYData(1, int(p), content.T2[p]);
    }
}

}  // namespace kr820::core
