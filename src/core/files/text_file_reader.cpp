// SPDX-License-Identifier: MIT
#include "core/files/text_file_reader.h"

#include <QFile>
#include <algorithm>
#include <optional>

#include "core/chart/chart_data.h"
#include "core/data/limit_values.h"
#include "core/files/spreadsheet_rows.h"
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

    enum class Ending { NotYet, EndOfFile, EmptyLine, LongLine };

    // The line's bytes, valid until the next call. Empty at the end of the data: the end of the
    // file, an empty line or an over-long one, as HowEnded() then says.
    std::optional<QByteArrayView> NextBytes() {
        if (m_ending != Ending::NotYet) return std::nullopt;
        const qsizetype end = FindLineEnd();
        QByteArrayView line = QByteArrayView(m_buffer).sliced(m_start);
        const bool newline = end >= 0;
        line = line.first(newline ? end - m_start + 1 : line.size());
        m_start += line.size();
        if (line.size() > kMaxLineBytes) return End(Ending::LongLine);
        if (line.isEmpty()) return End(Ending::EndOfFile);
        if (line.endsWith('\n')) line.chop(1);
        if (line.endsWith('\r')) line.chop(1);
        if (line.isEmpty()) return End(Ending::EmptyLine);
        // A UTF-8 line holds no more UTF-16 units than bytes: only long ones need counting.
        if (line.size() > kMaxTextLineChars && QString::fromUtf8(line).size() > kMaxTextLineChars)
            return End(Ending::LongLine);
        return line;
    }

    Ending HowEnded() const { return m_ending; }

private:
    std::nullopt_t End(Ending ending) {
        m_ending = ending;
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
    Ending m_ending = Ending::NotYet;
};

std::optional<TDateTime> LineTime(const QString& line, TextSeparator separator,
                                  TextFieldReader& reader) {
    const auto fields = SplitTextLine(line, separator);
    if (!fields) return std::nullopt;
    return reader.DateAndTime(fields->Date, fields->Time);
}

// Pass 1: how many lines of data, the times of the first two, and what ended them.
struct Sizing {
    int Lines = 0;
    std::optional<TDateTime> First;
    std::optional<TDateTime> Second;
    DataLines::Ending Ending = DataLines::Ending::NotYet;
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
    sizing.Ending = lines.HowEnded();
    return sizing;
}

// Why a file without a line of data holds none.
QString NoLinesReason(const Sizing& sizing) {
    switch (sizing.Ending) {
        case DataLines::Ending::EmptyLine:
            return QStringLiteral("line 1 is empty");
        case DataLines::Ending::LongLine:
            return QStringLiteral("line 1 is longer than %1 characters").arg(kMaxTextLineChars);
        case DataLines::Ending::NotYet:
        case DataLines::Ending::EndOfFile:
            break;
    }
    return QStringLiteral("the file is empty");
}

// The program's own spreadsheet rows, laid out as a text file's points: each time the local wall
// clock at its instant, a missing value as the text files have it, "OL".
TextReadOutcome SpreadsheetContent(const QString& path) {
    TextReadOutcome outcome;
    SpreadsheetReadOutcome read = ReadSpreadsheetRows(path);
    if (read.Status != SpreadsheetReadStatus::Read) {
        outcome.Status = read.Status == SpreadsheetReadStatus::CannotOpen
                             ? TextReadStatus::CannotOpen
                             : TextReadStatus::NoPoints;
        outcome.Reason = read.Problem;
        return outcome;
    }
    TextFileContent& content = outcome.Content;
    const auto points = static_cast<int>(read.Rows.size());
    content.Points = std::max(points, kMinTextFilePoints);
    content.Unit = read.Rows.front().Unit;
    for (const ReadingRow& row : read.Rows) {
        content.X.push_back(WallClockAt(row.Time));
        content.T1.push_back(row.T1 ? static_cast<float>(*row.T1) : OverLimitValue);
        content.T2.push_back(row.T2 ? static_cast<float>(*row.T2) : OverLimitValue);
        if (row.Unit != content.Unit) content.Unit.clear();  // no one unit for all
    }
    if (points > 1 && content.X[1] > content.X[0]) {
        content.MinX = content.X[0];
        content.MaxX = content.X[0] + (content.X[1] - content.X[0]) * content.Points;
    }
    return outcome;
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

    if (IsSpreadsheetFile(path)) return SpreadsheetContent(path);

    const Sizing sizing = SizeFile(file, separator, formats);
    if (sizing.Lines == 0) {
        outcome.Status = TextReadStatus::NoPoints;
        outcome.Reason = NoLinesReason(sizing);
        return outcome;
    }
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
    content.X.reserve(static_cast<std::size_t>(sizing.Lines));
    content.T1.reserve(static_cast<std::size_t>(sizing.Lines));
    content.T2.reserve(static_cast<std::size_t>(sizing.Lines));
    int pointsThatRead = 0;
    QString firstUnread;
    for (int read = 0; read < sizing.Lines; ++read) {
        const auto bytes = lines.NextBytes();
        if (!bytes) break;
        const QString line = QString::fromUtf8(*bytes);
        const auto fields = SplitTextLine(line, separator);
        const auto point = static_cast<qsizetype>(content.T1.size());
        const auto x = fields ? reader.DateAndTime(fields->Date, fields->Time) : std::nullopt;
        if (x && fields->T1) {
            ++pointsThatRead;
        } else if (firstUnread.isEmpty()) {
            firstUnread = DescribedLine(read + 1, *bytes);
        }
        if (!fields) continue;
        if (x) {
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
    // Text of any kind splits into lines: without a single point it is no data of this program.
    if (pointsThatRead == 0 && outcome.Status == TextReadStatus::Read) {
        outcome.Status = TextReadStatus::NoPoints;
        outcome.Reason = QStringLiteral(
                             "no line reads as a date, a time and two temperatures; the first, %1, "
                             "does not")
                             .arg(firstUnread);
        outcome.Content = {};
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
