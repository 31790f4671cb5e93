// SPDX-License-Identifier: MIT
#include "link/setup_exchange.h"

#include "core/protocol/command_table.h"
#include "core/setup/meter_setup.h"
#include "core/setup/setup_frames.h"
#include "link/command_exchange.h"
#include "link/link_log.h"
#include "link/port.h"
#include "link/port_attempts.h"

namespace kr820::link {
namespace {

QByteArray Body(const core::MeterCommand& command) {
    return QByteArray(command.body.data(), static_cast<qsizetype>(command.body.size()));
}

}  // namespace

std::optional<QByteArray> ReadSetupRecord(Port& port, Clock& clock) {
    const core::MeterCommand& read = core::kReadSetup;
    if (!Attempt(QStringLiteral("purging before the setup read"), port,
                 [&] { port.PurgeInput(); }) ||
        !SendCommand(port, read)) {
        return std::nullopt;
    }
    const int count =
        WaitForInput(port, clock, read.replyBytes, InputTarget::EqualTo, read.replyLimit);
    if (count != read.replyBytes) {
        ReportPortFailure(
            QStringLiteral("reading the setup"), port,
            QStringLiteral("%1 bytes came, %2 expected").arg(count).arg(read.replyBytes));
        return std::nullopt;
    }
    QByteArray record;
    if (!Attempt(QStringLiteral("reading the setup record"), port,
                 [&] { record = port.Read(read.replyBytes); }) ||
        record.size() != read.replyBytes) {
        return std::nullopt;
    }
    return record;
}

SetupSaveOutcome SaveSetup(Port& port, Clock& clock, const QByteArray& writtenBytes,
                           const std::function<QDateTime()>& meterClock,
                           const std::function<void(SetupSaveStage)>& onStage) {
    SetupSaveOutcome outcome;
    const auto stage = [&](SetupSaveStage next) {
        outcome.FailedAt = next;
        if (onStage) onStage(next);
    };
    stage(SetupSaveStage::WritingSetup);
    for (int address = core::kFirstSetupAddress; address <= core::kLastSetupAddress; ++address) {
        const int offset = address - core::kFirstSetupAddress + 1;
        const int value =
            offset < writtenBytes.size() ? static_cast<unsigned char>(writtenBytes[offset]) : 0;
        if (!VerifiedWrite(port, clock, core::WriteSetupByteBody(address, value),
                           core::kWriteSetupByte)) {
            outcome.FailedAddress = address;
            return outcome;
        }
    }
    stage(SetupSaveStage::SettingClock);
    if (!VerifiedWrite(port, clock, core::SetClockBody(meterClock()), core::kSetClock))
        return outcome;
    stage(SetupSaveStage::ResettingMeter);
    if (!VerifiedWrite(port, clock, Body(core::kResetMeter), core::kResetMeter)) return outcome;
    outcome.Saved = true;
    return outcome;
}

bool EraseMeterMemory(Port& port, Clock& clock) {
    return VerifiedWrite(port, clock, Body(core::kEraseMemory), core::kEraseMemory);
}

}  // namespace kr820::link
