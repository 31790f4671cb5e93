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
constexpr qsizetype kMaxLineBytes = kMaxTextLineChars * 3 + 2;
constexpr qint64 kReadChunkBytes = 64 * 1024;

// The lines of data of a text file, one at a time, without their line ends. The file is read in
// large chunks and cut here: a read per line, and a string per line where none is needed, cost
// more than all the rest of reading.
class DataLines {
public:
    explicit DataLines(QFile& file) : m_file(file) {}

    // The line's bytes, valid until the next call. Empty at the end of the data: the end of the
    // file, an empty line or an over-long one.
    std::optional<QByteArrayView> NextBytes() {
        if (m_ended) return std::nullopt;
        const qsizetype end = FindLineEnd();
        QByteArrayView line = QByteArrayView(m_buffer).sliced(m_start);
        const bool newline = end >= 0;
        line = line.first(newline ? end - m_start + 1 : line.size());
        m_start += line.size();
        if (line.size() > kMaxLineBytes) return End();
        if (line.endsWith('\n')) line.chop(1);
        if (line.endsWith('\r')) line.chop(1);
        // A UTF-8 line holds no more UTF-16 units than bytes: only long ones need counting.
        if (line.isEmpty() ||
            (line.size() > kMaxTextLineChars && QString::fromUtf8(line).size() > kMaxTextLineChars))
            return End();
        return line;
    }

    std::optional<QString> Next() {
        const auto bytes = NextBytes();
        if (!bytes) return std::nullopt;
        return QString::fromUtf8(*bytes);
    }

private:
    std::nullopt_t End() {
        m_ended = true;
        return std::nullopt;
    }

    // The offset of the next line's '\n' in the buffer, reading on until there is one, the line
    // is known to be too long, or the file ends; -1 without one.
    qsizetype FindLineEnd() {
        qsizetype searched = m_start;
        for (;;) {
            const qsizetype end = m_buffer.indexOf('\n', searched);
            if (end >= 0) return end;
            if (m_buffer.size() - m_start > kMaxLineBytes || m_atEnd) return -1;
            searched = m_buffer.size();
            m_buffer.remove(0, m_start);
            searched -= m_start;
            m_start = 0;
            const QByteArray chunk = m_file.read(kReadChunkBytes);
            if (chunk.isEmpty()) m_atEnd = true;
            m_buffer += chunk;
        }
    }

    QFile& m_file;
    QByteArray m_buffer;
    qsizetype m_start = 0;
    bool m_atEnd = false;
    bool m_ended = false;
};

std::optional<TDateTime> LineTime(const QString& line, TextSeparator separator,
                                  TextFieldReader& reader) {
    const auto fields = SplitTextLine(line, separator);
    if (!fields) return std::nullopt;
    return reader.DateAndTime(fields->Date, fields->Time);
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
    TextFieldReader reader(formats);
    while (sizing.Lines < ChartData::kMaxPoints) {
        const auto bytes = lines.NextBytes();
        if (!bytes) break;
        if (sizing.Lines < 2) {
            auto& time = sizing.Lines == 0 ? sizing.First : sizing.Second;
            time = LineTime(QString::fromUtf8(*bytes), separator, reader);
        }
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
    TextFieldReader reader(formats);
    for (int read = 0; read < sizing.Lines; ++read) {
        const auto line = lines.Next();
        if (!line) break;
        const auto fields = SplitTextLine(*line, separator);
        if (!fields) continue;
        const auto point = static_cast<qsizetype>(content.T1.size());
        if (const auto x = reader.DateAndTime(fields->Date, fields->Time)) {
            if (qsizetype(content.X.size()) <= point) content.X.resize(point + 1, 0.0);
            content.X[point] = *x;
        }
        if (!fields->T1) continue;
        content.T1.push_back(reader.Value(*fields->T1));
        content.T2.push_back(reader.Value(fields->T2));
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
