// SPDX-License-Identifier: MIT
#include "print/graph_identity.h"

#include <QDir>

#include "graph/frm_graph.h"
#include "store/stored_recording.h"

namespace kr820::print {

QString GraphSource(const graph::TfrmGraph& window) {
    if (const store::StoredRecording* recording = window.Recording())
        return QStringLiteral("recording store %1")
            .arg(QDir::toNativeSeparators(recording->Path()));
    switch (window.Role()) {
        case graph::GraphRole::RealTime:
            return QStringLiteral("the meter's real-time readings");
        case graph::GraphRole::DataLogger:
            return QStringLiteral("the meter's logger memory");
        case graph::GraphRole::File:
            break;
    }
    return QStringLiteral("file %1").arg(window.windowTitle());
}

QString IdentificationLine(const graph::TfrmGraph& window, const QDateTime& printedAt) {
    return QStringLiteral("Source: %1    Printed %2")
        .arg(GraphSource(window), printedAt.toString(QStringLiteral("yyyy-MM-dd HH:mm")));
}

}  // namespace kr820::print
