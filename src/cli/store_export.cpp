// SPDX-License-Identifier: MIT
#include "cli/store_export.h"

#include <climits>

#include "cli/output_target.h"
#include "core/files/reading_rows.h"
#include "core/files/save_file.h"
#include "store/store_reader.h"
#include "store/store_report.h"

namespace kr820::cli {
namespace {

// Rows are handed on in pieces of about this many bytes.
constexpr qsizetype kPieceBytes = 64 * 1024;

}  // namespace

std::optional<std::vector<core::ExportedSet>> StoreSets(const QString& name, const QString& path,
                                                        CliIo& io, ExitCode& failure) {
    QString error;
    std::unique_ptr<store::StoreReader> reader = store::StoreReader::Open(path, &error);
    if (!reader) {
        Say(io, QStringLiteral("'%1': %2").arg(name, error));
        failure = ExitCode::NotDecodable;
        return std::nullopt;
    }
    const store::StoreHeader& header = reader->Header();
    core::ExportedSet set;
    set.RateSeconds = header.RateSeconds;
    set.Count = static_cast<int>(std::min<qint64>(reader->Count(), INT_MAX));
    set.Gaps = static_cast<int>(reader->Gaps().size());
    // As the export's first row: the first reading's time, in its unit.
    if (const std::optional<store::StoredReading> first = reader->At(0)) {
        const core::ReadingRow row = store::ReadingRowOf(*first);
        set.Start = row.Time;
        set.Unit = row.Unit;
    } else {
        set.Start = header.StartMs / 1000;
        set.Unit = header.Fahrenheit ? QStringLiteral("F") : QStringLiteral("C");
    }
    return std::vector<core::ExportedSet>{set};
}

ExitCode RunStoreExport(const CliArguments& arguments, const QString& path, CliIo& io,
                        const Stopping& stopping) {
    if (const std::optional<QString> refusal = ReplaceRefusal(arguments.output, arguments.force)) {
        Say(io, *refusal);
        return ExitCode::Failed;
    }
    QString error;
    std::unique_ptr<store::StoreReader> reader = store::StoreReader::Open(path, &error);
    if (!reader) {
        Say(io, QStringLiteral("'%1': %2").arg(arguments.file, error));
        return ExitCode::NotDecodable;
    }
    // A copy of the file alone exports what it holds, and says what it lacks; a damaged store
    // what reads before the damage, and fails.
    if (!reader->Notice().isEmpty()) Say(io, reader->Notice());
    const QString damage = reader->Damaged() ? QStringLiteral("it is damaged") : QString();
    if (!arguments.all && arguments.set > 1) {
        Say(io, QStringLiteral("'%1' is a recording: it holds one data set; there is no set %2")
                    .arg(arguments.file)
                    .arg(arguments.set));
        return ExitCode::Failed;
    }
    const core::RowLayout layout{arguments.format, arguments.all, {}, arguments.timeFormat};
    const bool toStream = OutputKindOf(arguments.output) != OutputKind::File;
    bool readFailed = false;
    // Every row through `put`, a piece at a time; false when `put` refused one.
    const auto writeRows = [&](const std::function<bool(QByteArrayView)>& put) {
        QByteArray piece = core::HeaderLine(layout);
        store::ReadingCursor cursor(*reader, 0, reader->Count());
        while (const std::optional<store::StoredReading> reading = cursor.Next()) {
            piece += core::RowLine(store::ReadingRowOf(*reading), layout);
            if (piece.size() >= kPieceBytes) {
                if (!put(piece)) return false;
                piece.clear();
            }
        }
        readFailed = cursor.NextIndex() < reader->Count();
        if (readFailed) return false;
        if (!reader->Damaged()) return put(piece);
        // What reads goes to a stream; a file is not made of a damaged store.
        readFailed = true;
        if (toStream) put(piece);
        return false;
    };
    if (toStream) {
        return WithAppendedOutput(arguments.output, io, stopping, [&](CliIo& streamIo) {
            const bool written =
                writeRows([&](QByteArrayView piece) { return WriteOut(streamIo, piece); });
            if (readFailed) {
                Say(io, QStringLiteral("'%1': %2")
                            .arg(arguments.file,
                                 reader->Failure().isEmpty() ? damage : reader->Failure()));
                return ExitCode::NotDecodable;
            }
            return written ? ExitCode::Success : ExitCode::Failed;
        });
    }
    const core::WriteOutcome written =
        core::WriteThroughSaveFile(arguments.output, [&](QIODevice& device) {
            return writeRows([&](QByteArrayView piece) { return core::WriteAll(device, piece); });
        });
    if (readFailed) {
        Say(io, QStringLiteral("'%1': %2; nothing written")
                    .arg(arguments.file, reader->Failure().isEmpty() ? damage : reader->Failure()));
        return ExitCode::NotDecodable;
    }
    if (!written.Written()) {
        Say(io, QStringLiteral("cannot write '%1': %2").arg(arguments.output, written.Reason));
        return ExitCode::Failed;
    }
    return ExitCode::Success;
}

}  // namespace kr820::cli
