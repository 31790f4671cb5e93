// SPDX-License-Identifier: MIT
#include "cli/setup_commands.h"

#include <QElapsedTimer>
#include <QLocale>
#include <functional>

#include "cli/meter_session.h"
#include "cli/setup_json.h"
#include "cli/stoppable_clock.h"
#include "core/protocol/command_table.h"
#include "core/setup/meter_setup.h"
#include "core/setup/setup_fields.h"
#include "core/setup/setup_frames.h"
#include "core/setup/setup_texts.h"
#include "link/command_exchange.h"
#include "link/setup_exchange.h"

namespace kr820::cli {
namespace {

// What a setup exchange works on: the meter found idle, the live path quiet, the setup read.
struct SetupContext {
    MeterSession& session;
    core::MeterSetup setup;
    QDateTime readAt;
    QElapsedTimer sinceRead;
};

// Reaches an idle meter and stops its live polling, ready for an exchange of its own.
ExitCode ReachQuiescedMeter(MeterSession& session, const QString& device, CliIo& io) {
    const ExitCode reached = ReachIdleMeter(session, device, io);
    if (reached == ExitCode::Success) session.Link().QuiesceLivePath();
    return reached;
}

// Reaches the meter, reads its setup as the dialog does and hands it to `exchange`.
ExitCode WithSetup(const CliArguments& arguments, MeterAccess& access, CliIo& io,
                   const std::function<ExitCode(SetupContext&)>& exchange) {
    MeterSession session(access.comm1, access.clock, io, access.tick);
    if (const ExitCode reached = ReachQuiescedMeter(session, arguments.device, io);
        reached != ExitCode::Success)
        return reached;
    link::MeterLink& link = session.Link();
    std::optional<QByteArray> record;
    if (link.ReopenForSetup()) record = link::ReadSetupRecord(link.LivePort(), link.LinkClock());
    if (session.Stopping()) return StoppedExit();
    if (!record) {
        Say(io, QStringLiteral("the meter did not answer the setup request"));
        return ExitCode::MeterRefused;
    }
    SetupContext context{session, {}, QDateTime::currentDateTime(), {}};
    context.sinceRead.start();
    context.setup = core::DecodeMeterSetup(*record, context.readAt);
    return exchange(context);
}

QByteArray SetupText(const core::MeterSetup& setup, bool json) {
    if (json) return SetupJson(setup);
    QByteArray text;
    for (const QString& name : core::SetupFieldNames())
        text += (name + u'=' + core::SetupFieldValue(setup, name) + u'\n').toUtf8();
    return text;
}

}  // namespace

ExitCode RunSetupShow(const CliArguments& arguments, MeterAccess& access, CliIo& io) {
    return WithSetup(arguments, access, io, [&](SetupContext& context) {
        return WriteOut(io, SetupText(context.setup, arguments.json)) ? ExitCode::Success
                                                                      : ExitCode::Failed;
    });
}

ExitCode RunSetupSet(const CliArguments& arguments, MeterAccess& access, CliIo& io) {
    // Names and values are checked before the meter is touched; the values once more against
    // the setup read, which is what they change.
    core::MeterSetup probe;
    for (const QString& assignment : arguments.assignments) {
        const qsizetype equals = assignment.indexOf(u'=');
        if (auto problem =
                core::SetSetupField(probe, assignment.left(equals), assignment.mid(equals + 1))) {
            Say(io, *problem);
            return ExitCode::Failed;
        }
    }
    return WithSetup(arguments, access, io, [&](SetupContext& context) {
        core::MeterSetup edited = context.setup;
        for (const QString& assignment : arguments.assignments) {
            const qsizetype equals = assignment.indexOf(u'=');
            core::SetSetupField(edited, assignment.left(equals), assignment.mid(equals + 1));
        }
        // The meter's clock runs on as it was: the save sets it, so give it its own time.
        const auto meterClock = [&context] {
            return context.setup.MeterClock.addMSecs(context.sinceRead.elapsed());
        };
        link::MeterLink& link = context.session.Link();
        const link::SetupSaveOutcome outcome = link::SaveSetup(
            link.LivePort(), link.LinkClock(), core::EncodeMeterSetup(edited), meterClock);
        if (context.session.Stopping()) return StoppedExit();
        if (!outcome.Saved) {
            switch (outcome.FailedAt) {
                case link::SetupSaveStage::WritingSetup:
                    Say(io, QStringLiteral("the meter did not confirm the setup write at address "
                                           "0x%1; the fields before it are written")
                                .arg(outcome.FailedAddress, 2, 16, QLatin1Char('0')));
                    break;
                case link::SetupSaveStage::SettingClock:
                    Say(io, QStringLiteral("the setup is written, but the meter did not confirm "
                                           "its clock"));
                    break;
                case link::SetupSaveStage::ResettingMeter:
                    Say(io, QStringLiteral("the setup is written, but the meter did not confirm "
                                           "its reset"));
                    break;
            }
            return ExitCode::MeterRefused;
        }
        QByteArray changes;
        for (const QString& change : core::SetupChanges(context.setup, edited, QLocale::c()))
            changes += ForTerminal(change + u'\n').toUtf8();
        if (!WriteOut(io, changes)) return ExitCode::Failed;
        Tell(io, QStringLiteral("setup written; restart the meter to make the changes valid"));
        return ExitCode::Success;
    });
}

ExitCode RunClockSync(const CliArguments& arguments, MeterAccess& access, CliIo& io) {
    return WithSetup(arguments, access, io, [&](SetupContext& context) {
        const QDateTime now = QDateTime::currentDateTime();
        const QDateTime meterNow = context.setup.MeterClock.addMSecs(context.sinceRead.elapsed());
        link::MeterLink& link = context.session.Link();
        if (!link::VerifiedWrite(link.LivePort(), link.LinkClock(), core::SetClockBody(now),
                                 core::kSetClock)) {
            if (context.session.Stopping()) return StoppedExit();
            Say(io, QStringLiteral("the meter did not confirm the clock"));
            return ExitCode::MeterRefused;
        }
        const QString told = core::ClockOffsetText(meterNow, now) + u'\n' +
                             QStringLiteral("Meter clock set to %1\n")
                                 .arg(now.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss")));
        return WriteOut(io, told.toUtf8()) ? ExitCode::Success : ExitCode::Failed;
    });
}

ExitCode RunErase(const CliArguments& arguments, MeterAccess& access, CliIo& io) {
    MeterSession session(access.comm1, access.clock, io, access.tick);
    if (const ExitCode reached = ReachQuiescedMeter(session, arguments.device, io);
        reached != ExitCode::Success)
        return reached;
    link::MeterLink& link = session.Link();
    if (!link.ReopenForSetup() || !link::EraseMeterMemory(link.LivePort(), link.LinkClock())) {
        if (session.Stopping()) return StoppedExit();
        Say(io, QStringLiteral("the meter did not confirm the erase"));
        return ExitCode::MeterRefused;
    }
    Tell(io, QStringLiteral("the meter's memory is erased"));
    return ExitCode::Success;
}

}  // namespace kr820::cli
