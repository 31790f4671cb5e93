// SPDX-License-Identifier: MIT
#include "cli/file_commands.h"

#include "cli/cli_log.h"
#include "cli/input_file.h"
#include "cli/output_target.h"
#include "cli/stoppable_clock.h"
#include "cli/store_export.h"
#include "core/files/export_rows.h"
#include "core/files/save_file.h"
#include "core/files/set_list_rows.h"

namespace kr820::cli {
namespace {

// A set whose start did not decode gets the time of reading: its times are made up, and a
// script must hear so.
void SayWhatWasAssumed(const QString& file, const core::ExportOpenOutcome& opened, CliIo& io) {
    for (const QString& note : opened.Notes) Say(io, QStringLiteral("%1: %2").arg(file, note));
    for (const std::int32_t set : opened.UndatedSets) {
        const std::size_t index = static_cast<std::size_t>(set);
        const QString start = index < opened.Sets.size() && opened.Sets[index].Start
                                  ? core::IsoTimeAt(*opened.Sets[index].Start)
                                  : QStringLiteral("the time of reading");
        Say(io, QStringLiteral("%1: data set %2 has no valid start date; its times count from the "
                               "time of reading, %3")
                    .arg(file)
                    .arg(set + 1)
                    .arg(start));
    }
}

}  // namespace

// The file named on the command line under a name that says what it holds; false with the
// line said, or when a stop came while standard input was waited for.
bool OpenInput(const QString& name, InputFile& input, CliIo& io, const Stopping& stopping) {
    QString problem;
    if (input.Open(name, io.in, problem, stopping)) return true;
    if (input.Stopped()) return false;
    Say(io, name == kStdinName ? QStringLiteral("cannot read standard input: %1").arg(problem)
                               : QStringLiteral("cannot read '%1': %2").arg(name, problem));
    return false;
}

// The sets of the file at `path` (named `arguments.file`), or the exit code with its line said.
std::optional<std::vector<core::ExportedSet>> OpenSets(const CliArguments& arguments,
                                                       const QString& path,
                                                       const core::RegionalFormats& formats,
                                                       CliIo& io, ExitCode& failure) {
    qCInfo(lcCli).noquote() << "reading" << path;
    core::ExportOpenOutcome opened = core::OpenForExport(path, formats, arguments.recover);
    switch (opened.Status) {
        case core::ExportOpenStatus::Opened:
            SayWhatWasAssumed(arguments.file, opened, io);
            return std::move(opened.Sets);
        case core::ExportOpenStatus::Damaged:
            if (opened.RecoveredSets > 0) {
                Say(io, QStringLiteral("'%1': %2; the %3 data sets before it are read")
                            .arg(arguments.file, opened.Problem)
                            .arg(opened.RecoveredSets));
                SayWhatWasAssumed(arguments.file, opened, io);
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
        case core::ExportOpenStatus::NoData:
            break;
    }
    Say(io, QStringLiteral("cannot read '%1': %2").arg(arguments.file, opened.Problem));
    failure = ExitCode::Failed;
    return std::nullopt;
}

ExitCode RunSets(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io,
                 const Stopping& stopping) {
    InputFile input;
    if (!OpenInput(arguments.file, input, io, stopping))
        return input.Stopped() ? StoppedExit() : ExitCode::Failed;
    ExitCode failure = ExitCode::Success;
    const auto sets = input.IsStore() ? StoreSets(arguments.file, input.Path(), io, failure)
                                      : OpenSets(arguments, input.Path(), formats, io, failure);
    if (!sets) return failure;
    return WriteOut(io, core::SetListText(*sets, arguments.json, arguments.timeFormat))
               ? ExitCode::Success
               : ExitCode::Failed;
}

ExitCode RunExport(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io,
                   const Stopping& stopping) {
    if (const std::optional<QString> refusal = ReplaceRefusal(arguments.output, arguments.force)) {
        Say(io, *refusal);
        return ExitCode::Failed;
    }
    InputFile input;
    if (!OpenInput(arguments.file, input, io, stopping))
        return input.Stopped() ? StoppedExit() : ExitCode::Failed;
    // A recording store is streamed: it may hold more than memory should.
    if (input.IsStore()) return RunStoreExport(arguments, input.Path(), io, stopping);
    ExitCode failure = ExitCode::Success;
    const auto sets = OpenSets(arguments, input.Path(), formats, io, failure);
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
    int leftOut = 0;
    for (std::size_t i = 0; i < sets->size(); ++i) {
        if (!arguments.all && static_cast<int>(i) + 1 != arguments.set) continue;
        for (const core::ReadingRow& row : (*sets)[i].Rows) {
            const QByteArray line = core::RowLine(row, layout);
            if (line.isEmpty()) ++leftOut;
            text += line;
        }
    }
    if (leftOut > 0)
        Say(io, QStringLiteral("%1 rows lie outside the times this format holds and are left out")
                    .arg(leftOut));
    return WriteWholeOutput(arguments.output, text, io, stopping);
}

}  // namespace kr820::cli
