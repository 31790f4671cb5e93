// SPDX-License-Identifier: MIT
#include "core/files/graph_file.h"

#include <QDir>
#include <QFile>
#include <QtEndian>

#include "core/chart/chart_model.h"
#include "core/files/save_file.h"

namespace kr820::core {
namespace {

QString CannotMessage(const char* verb, const QString& path, const QString& reason) {
    return QStringLiteral("Cannot %1 file \"%2\". %3")
        .arg(QLatin1String(verb), QDir::toNativeSeparators(path), reason);
}

GraphReadOutcome Refused(GraphReadStatus status, ChartLoadResult chart = ChartLoadResult::Loaded) {
    return {.Status = status, .Reason = {}, .Chart = chart};
}

}  // namespace

WriteOutcome WriteGraphFile(const ChartModel& chart, const QString& path) {
    const QByteArray block = chart.SaveToBlock();
    QByteArray file(kGraphFileLengthBytes, '\0');
    qToLittleEndian(static_cast<quint32>(block.size()), file.data());
    file += block;
    return WriteFileAtomically(path, file);
}

GraphReadOutcome ReadGraphFile(const QString& path, ChartModel& chart) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {.Status = GraphReadStatus::CannotOpen, .Reason = file.errorString()};
    }
    const QByteArray prefix = file.read(kGraphFileLengthBytes);
    if (prefix.size() != kGraphFileLengthBytes) return Refused(GraphReadStatus::StreamReadError);
    const qint64 length = qFromLittleEndian<quint32>(prefix.constData());
    // No chart this program holds saves to more; refused before a byte of it is read.
    if (length > kMaxChartBlockBytes) return Refused(GraphReadStatus::StreamReadError);
    if (!file.isSequential()) {
        const qint64 following = file.size() - kGraphFileLengthBytes;
        if (length > following) return Refused(GraphReadStatus::StreamReadError);
        if (length < following) return Refused(GraphReadStatus::Damaged);
    }

    const QByteArray block = file.read(length);
    if (block.size() != length) return Refused(GraphReadStatus::StreamReadError);
    // A pipe tells its length only by ending: one byte more means bytes after the block.
    if (file.isSequential() && !file.read(1).isEmpty()) return Refused(GraphReadStatus::Damaged);
    const ChartLoadResult loaded = chart.LoadFromBlock(block);
    if (loaded != ChartLoadResult::Loaded) return Refused(GraphReadStatus::Damaged, loaded);
    return {};
}

QString GraphWriteMessage(const WriteOutcome& outcome, const QString& path) {
    switch (outcome.Status) {
        case WriteStatus::Written:
        case WriteStatus::NothingToSave:
            return {};
        case WriteStatus::FolderNotCreated:
        case WriteStatus::CannotCreate:
            return CannotMessage("create", path, outcome.Reason);
        case WriteStatus::WriteFailed:
            // The cause matters here: the earlier file was kept, and the user must know why.
            return QStringLiteral("Stream write error: %1").arg(outcome.Reason);
    }
    return {};
}

QString GraphReadMessage(const GraphReadOutcome& outcome, const QString& path) {
    switch (outcome.Status) {
        case GraphReadStatus::Loaded:
            return {};
        case GraphReadStatus::CannotOpen:
            return CannotMessage("open", path, outcome.Reason);
        case GraphReadStatus::StreamReadError:
        case GraphReadStatus::Damaged:
            return QStringLiteral("Stream read error");
    }
    return {};
}

}  // namespace kr820::core
