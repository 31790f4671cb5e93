// SPDX-License-Identifier: MIT
#include "cli/file_commands.h"

#include <QFileInfo>

#include "cli/cli_log.h"
#include "cli/standard_input.h"
#include "core/files/export_rows.h"
#include "core/files/save_file.h"

namespace kr820::cli {
namespace {

// The file's sets, or the exit code with its line said.
std::optional<std::vector<core::ExportedSet>> OpenSets(const CliArguments& arguments,
                                                       const core::RegionalFormats& formats,
                                                       CliIo& io, ExitCode& failure) {
    StdinFile stdinFile;
    QString path = arguments.file;
    if (path == kStdinName) {
        QString problem;
        if (!stdinFile.Take(io.in, problem)) {
            Say(io, QStringLiteral("cannot read standard input: %1").arg(problem));
            failure = ExitCode::Failed;
            return std::nullopt;
        }
        path = stdinFile.Path();
    }
    qCInfo(lcCli).noquote() << "reading" << path;
    core::ExportOpenOutcome opened = core::OpenForExport(path, formats, arguments.recover);
    switch (opened.Status) {
        case core::ExportOpenStatus::Opened:
            return std::move(opened.Sets);
        case core::ExportOpenStatus::Damaged:
            if (opened.RecoveredSets > 0) {
                Say(io, QStringLiteral("'%1': %2; the %3 data sets before it are read")
                            .arg(arguments.file, opened.Problem)
                            .arg(opened.RecoveredSets));
                return std::move(opened.Sets);
            }
            Say(io, QStringLiteral("'%1': %2%3")
                        .arg(arguments.file, opened.Problem,
                             arguments.recover
                                 ? QStringLiteral(", and none before it")
                                 : QStringLiteral(" (--recover reads the sets before it)")));
            failure = ExitCode::NotDecodable;
            return std::nullopt;
        case core::ExportOpenStatus::Unreadable:
            Say(io, QStringLiteral("'%1': %2").arg(arguments.file, opened.Problem));
            failure = ExitCode::NotDecodable;
            return std::nullopt;
        case core::ExportOpenStatus::CannotOpen:
        case core::ExportOpenStatus::UnknownKind:
            break;
    }
    Say(io, QStringLiteral("cannot read '%1': %2").arg(arguments.file, opened.Problem));
    failure = ExitCode::Failed;
    return std::nullopt;
}

QByteArray SetsText(const std::vector<core::ExportedSet>& sets, bool json, core::TimeFormat times) {
    // The columns the export's rows have: the start's offset apart only for local times.
    const bool offsetApart = times == core::TimeFormat::Iso;
    QByteArray text = json ? QByteArray()
                      : offsetApart
                          ? QByteArray("set,start,utc_offset,interval,samples,type,unit\r\n")
                          : QByteArray("set,start,interval,samples,type,unit\r\n");
    int number = 0;
    for (const core::ExportedSet& set : sets) {
        ++number;
        const QByteArray iso = core::IsoLocalTime(set.Start).toLatin1();
        const QByteArray start = core::TimeInFormat(iso, times);
        if (json) {
            const auto quoted = [](const QString& value) {
                return value.isEmpty() ? QByteArray("null") : '"' + value.toLatin1() + '"';
            };
            const bool bare = times == core::TimeFormat::Epoch;
            text += QStringLiteral("{\"set\":%1,\"start\":%2,\"interval\":%3,\"samples\":%4,")
                        .arg(number)
                        .arg(QString::fromLatin1(start.isEmpty() ? QByteArray("null")
                                                 : bare          ? start
                                                                 : '"' + start + '"'))
                        .arg(set.RateSeconds)
                        .arg(set.Count)
                        .toLatin1() +
                    "\"type\":" + quoted(set.Type) + ",\"unit\":" + quoted(set.Unit) + "}\n";
        } else {
            // As in the exports: the offset apart, so that a spreadsheet reads a date.
            text += QByteArray::number(number) + ',' +
                    (offsetApart ? start.left(19) + ',' + start.mid(19) : start) + ',' +
                    QByteArray::number(set.RateSeconds) + ',' + QByteArray::number(set.Count) +
                    ',' + set.Type.toLatin1() + ',' + set.Unit.toLatin1() + "\r\n";
        }
    }
    return text;
}

}  // namespace

ExitCode RunSets(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io) {
    ExitCode failure = ExitCode::Success;
    const auto sets = OpenSets(arguments, formats, io, failure);
    if (!sets) return failure;
    return WriteOut(io, SetsText(*sets, arguments.json, arguments.timeFormat)) ? ExitCode::Success
                                                                               : ExitCode::Failed;
}

ExitCode RunExport(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io) {
    const bool toStdout = arguments.output.isEmpty() || arguments.output == kStdoutName;
    if (!toStdout && QFileInfo::exists(arguments.output) && !arguments.force) {
        Say(io, QStringLiteral("'%1' exists; --force replaces it").arg(arguments.output));
        return ExitCode::Failed;
    }
    ExitCode failure = ExitCode::Success;
    const auto sets = OpenSets(arguments, formats, io, failure);
    if (!sets) return failure;
    if (!arguments.all && arguments.set > static_cast<int>(sets->size())) {
        Say(io, QStringLiteral("'%1' holds %2 data sets; there is no set %3")
                    .arg(arguments.file)
                    .arg(sets->size())
                    .arg(arguments.set));
        return ExitCode::Failed;
    }
    const core::RowLayout layout{arguments.format, arguments.all, {}, arguments.timeFormat};
    QByteArray text = core::HeaderLine(layout);
    for (std::size_t i = 0; i < sets->size(); ++i) {
        if (!arguments.all && static_cast<int>(i) + 1 != arguments.set) continue;
        for (const core::ReadingRow& row : (*sets)[i].Rows) text += core::RowLine(row, layout);
    }
    if (toStdout) return WriteOut(io, text) ? ExitCode::Success : ExitCode::Failed;
    const core::WriteOutcome written = core::WriteFileAtomically(arguments.output, text);
    if (!written.Written()) {
        Say(io, QStringLiteral("cannot write '%1': %2").arg(arguments.output, written.Reason));
        return ExitCode::Failed;
    }
    return ExitCode::Success;
}

}  // namespace kr820::cli
