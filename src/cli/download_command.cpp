// SPDX-License-Identifier: MIT
#include "cli/download_command.h"

#include <QDir>
#include <QFileInfo>

#include "cli/cli_log.h"
#include "cli/download_progress.h"
#include "cli/meter_session.h"
#include "cli/output_target.h"
#include "cli/stoppable_clock.h"
#include "core/data/parse_memory_image.h"
#include "core/files/save_file.h"
#include "link/port.h"

namespace kr820::cli {
namespace {

ExitCode TransferFailure(core::DownloadCode code, CliIo& io) {
    switch (code) {
        case core::DownloadCode::NoHeader:
            Say(io, QStringLiteral("the meter did not answer the memory header request"));
            return ExitCode::HeaderNotAnswered;
        case core::DownloadCode::NothingRecorded:
            Say(io, QStringLiteral("there is no recorded data in the meter's memory"));
            return ExitCode::NothingRecorded;
        case core::DownloadCode::ShortTransfer:
            Say(io, QStringLiteral("the memory transfer broke off; nothing was written"));
            return ExitCode::TransferFailed;
        default:
            Say(io, QStringLiteral("the memory could not be decoded; nothing was written"));
            return ExitCode::NotDecodable;
    }
}

// Whether the image may be written, said on stderr: a damaged set only with --recover.
ExitCode CheckDecodable(const QByteArray& image, bool recover, CliIo& io) {
    core::TDataSetStore store;
    const core::ParseOutcome outcome = core::ParseMemoryImage(image, store);
    switch (outcome.Code) {
        case core::ParseCode::Success:
            Tell(io, QStringLiteral("%1 data sets").arg(store.SetCount()));
            return ExitCode::Success;
        case core::ParseCode::NoDataSets:
            return TransferFailure(core::DownloadCode::NothingRecorded, io);
        case core::ParseCode::BadSetCount:
            return TransferFailure(core::DownloadCode::BadSetCount, io);
        case core::ParseCode::DamagedRecord:
            break;
    }
    const int damaged = outcome.ErrorSet + 1;
    if (!recover) {
        Say(io, QStringLiteral("data set %1 is damaged; nothing was written (--recover keeps the "
                               "sets before it)")
                    .arg(damaged));
        return ExitCode::NotDecodable;
    }
    const int kept = core::RecoverSetsBeforeDamage(image, outcome, store);
    if (kept == 0) {
        Say(io,
            QStringLiteral("data set 1 is damaged: no data set can be kept; nothing was written"));
        return ExitCode::NotDecodable;
    }
    Say(io, QStringLiteral("data set %1 is damaged; the %2 data sets before it are kept (read "
                           "them with --recover)")
                .arg(damaged)
                .arg(kept));
    return ExitCode::Success;
}

}  // namespace

ExitCode RunDownload(const CliArguments& arguments, MeterAccess& access, CliIo& io,
                     const Stopping& stopping) {
    const OutputKind outputKind = OutputKindOf(arguments.output);
    if (outputKind != OutputKind::Stdout) {
        if (const std::optional<QString> refusal =
                ReplaceRefusal(arguments.output, arguments.force)) {
            Say(io, *refusal);
            return ExitCode::Failed;
        }
        // Found out after a long download, an output that cannot be written would waste it.
        if (!QFileInfo(arguments.output).absoluteDir().exists()) {
            Say(io, QStringLiteral("cannot write '%1': its folder does not exist")
                        .arg(arguments.output));
            return ExitCode::Failed;
        }
        if (const core::WriteOutcome writable = core::CheckCanWrite(arguments.output);
            !writable.Written()) {
            Say(io, QStringLiteral("cannot write '%1': %2").arg(arguments.output, writable.Reason));
            return ExitCode::Failed;
        }
    }
    QByteArray image;
    core::DownloadCode transferred = core::DownloadCode::Success;
    {
        MeterSession session(access.comm1, access.clock, io, access.tick);
        if (const ExitCode reached = ReachIdleMeter(session, arguments.device, io);
            reached != ExitCode::Success)
            return reached;
        DownloadProgress progress(io);
        image = QByteArray(core::kFirstRecordOffset, '\0');
        link::LoggerTransfer transfer(session.Link(), access.comm2, progress);
        transferred = transfer.TransferMemory(image);
        access.comm2.Close();
    }
    if (access.clock.Stopping()) {
        Say(io, QStringLiteral("stopped; nothing was written"));
        return StoppedExit();
    }
    if (transferred != core::DownloadCode::Success) return TransferFailure(transferred, io);
    if (const ExitCode decodable = CheckDecodable(image, arguments.recover, io);
        decodable != ExitCode::Success)
        return decodable;
    if (access.clock.Stopping()) return StoppedExit();
    // A pipe is opened only now, so that its reader may come during the download.
    if (outputKind != OutputKind::File) {
        return WithAppendedOutput(arguments.output, io, stopping, [&](CliIo& streamIo) {
            return WriteOut(streamIo, image) ? ExitCode::Success : ExitCode::Failed;
        });
    }
    qCInfo(lcCli).noquote() << "writing" << arguments.output;
    const core::WriteOutcome written = core::WriteFileAtomically(arguments.output, image);
    if (!written.Written()) {
        Say(io, QStringLiteral("cannot write '%1': %2").arg(arguments.output, written.Reason));
        return ExitCode::Failed;
    }
    Tell(io, QStringLiteral("wrote '%1' (%2 bytes)").arg(arguments.output).arg(image.size()));
    return ExitCode::Success;
}

}  // namespace kr820::cli
