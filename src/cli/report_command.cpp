// SPDX-License-Identifier: MIT
#include "cli/report_command.h"

#include <QDateTime>
#include <QFileInfo>

#include "cli/append_output.h"
#include "cli/file_commands.h"
#include "cli/input_file.h"
#include "cli/output_target.h"
#include "cli/program_version.h"
#include "cli/stoppable_clock.h"
#include "core/files/save_file.h"
#include "core/report/report_intake.h"
#include "report/report_page.h"
#include "store/store_report.h"

namespace kr820::cli {
namespace {

QString RangeText(const core::ReportSettings& settings) {
    if (!settings.FromMs && !settings.ToMs) return QStringLiteral("all readings");
    const auto at = [](const std::optional<qint64>& ms) {
        return ms ? core::IsoTimeAt(*ms / 1000) : QStringLiteral("...");
    };
    return QStringLiteral("from %1 to %2").arg(at(settings.FromMs), at(settings.ToMs));
}

// The report of a store, or the exit code with its line said.
std::optional<ExitCode> ReportOfStore(const CliArguments& arguments, const QString& path,
                                      core::ReportDocument& document, CliIo& io) {
    QString error;
    std::unique_ptr<store::StoreReader> reader = store::StoreReader::Open(path, &error);
    if (!reader) {
        Say(io, QStringLiteral("'%1': %2").arg(arguments.file, error));
        return ExitCode::NotDecodable;
    }
    if (!reader->Notice().isEmpty()) Say(io, reader->Notice());
    if (!arguments.all && arguments.set > 1) {
        Say(io, QStringLiteral("'%1' is a recording: it holds one data set; there is no set %2")
                    .arg(arguments.file)
                    .arg(arguments.set));
        return ExitCode::Failed;
    }
    const QString device = reader->Header().Device;
    document.Source = device.isEmpty() ? QFileInfo(arguments.file).fileName()
                                       : QStringLiteral("%1 (recording of %2)")
                                             .arg(QFileInfo(arguments.file).fileName(), device);
    // A damaged store is not reported from the part that reads: its figures would pass for
    // the whole.
    core::ReportSettings settings = arguments.report.settings;
    if (!arguments.report.limitsGiven) settings.Limits = store::AlarmLimitsOfStore(*reader);
    if (!store::ReportStore(*reader, settings, document) || reader->Damaged()) {
        Say(io,
            QStringLiteral("'%1': %2")
                .arg(arguments.file, reader->Failure().isEmpty() ? QStringLiteral("it is damaged")
                                                                 : reader->Failure()));
        return ExitCode::NotDecodable;
    }
    return std::nullopt;
}

std::optional<ExitCode> ReportOfFile(const CliArguments& arguments, const QString& path,
                                     const core::RegionalFormats& formats,
                                     core::ReportDocument& document, CliIo& io) {
    ExitCode failure = ExitCode::Success;
    const auto sets = OpenSets(arguments, path, formats, io, failure);
    if (!sets) return failure;
    if (!arguments.all && arguments.set > static_cast<int>(sets->size())) {
        Say(io, QStringLiteral("'%1' holds %2 data sets; there is no set %3")
                    .arg(arguments.file)
                    .arg(sets->size())
                    .arg(arguments.set));
        return ExitCode::Failed;
    }
    std::vector<core::ReadingRow> rows;
    core::ReportSettings settings = arguments.report.settings;
    for (std::size_t i = 0; i < sets->size(); ++i) {
        if (!arguments.all && static_cast<int>(i) + 1 != arguments.set) continue;
        const core::ExportedSet& set = (*sets)[i];
        if (settings.IntervalMs == 0) settings.IntervalMs = set.RateSeconds * 1000;
        rows.insert(rows.end(), set.Rows.begin(), set.Rows.end());
    }
    const QString name = QFileInfo(arguments.file).fileName();
    document.Source = arguments.all
                          ? QStringLiteral("%1, all %2 data sets").arg(name).arg(sets->size())
                          : QStringLiteral("%1, data set %2").arg(name).arg(arguments.set);
    core::ReportRows(rows, settings, arguments.all, document);
    return std::nullopt;
}

}  // namespace

ExitCode RunReport(const CliArguments& arguments, const core::RegionalFormats& formats, CliIo& io,
                   const Stopping& stopping) {
    if (const std::optional<QString> refusal = ReplaceRefusal(arguments.output, arguments.force)) {
        Say(io, *refusal);
        return ExitCode::Failed;
    }
    InputFile input;
    if (!OpenInput(arguments.file, input, io, stopping))
        return input.Stopped() ? StoppedExit() : ExitCode::Failed;
    core::ReportDocument document;
    document.Heading = arguments.report.heading;
    document.Range = RangeText(arguments.report.settings);
    document.Program = QStringLiteral("kr820-cli %1").arg(ProgramVersion());
    document.MadeAtMs = QDateTime::currentMSecsSinceEpoch();
    const std::optional<ExitCode> failed =
        input.IsStore() ? ReportOfStore(arguments, input.Path(), document, io)
                        : ReportOfFile(arguments, input.Path(), formats, document, io);
    if (failed) return *failed;
    if (document.Figures.Readings == 0)
        Say(io, QStringLiteral("no readings in the range reported"));

    QByteArray bytes;
    switch (arguments.report.format) {
        case ReportFormat::Text:
            bytes = core::ReportText(document);
            break;
        case ReportFormat::Json:
            bytes = core::ReportJson(document);
            break;
        case ReportFormat::Pdf: {
            QString problem;
            const std::optional<QByteArray> pdf = report::ReportPdf(document, &problem);
            if (!pdf) {
                Say(io, QStringLiteral("cannot make the PDF: %1").arg(problem));
                return ExitCode::Failed;
            }
            bytes = *pdf;
            break;
        }
    }
    return WriteWholeOutput(arguments.output, bytes, io, stopping);
}

}  // namespace kr820::cli
