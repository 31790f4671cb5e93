// SPDX-License-Identifier: MIT
#pragma once

#include <QDateTime>
#include <QString>

namespace kr820::graph {
class TfrmGraph;
}

namespace kr820::print {

// Where the window's readings come from, as a printed page names it: the file, the recording
// store, the meter's live readings or its logger memory.
QString GraphSource(const graph::TfrmGraph& window);

// The line under the caption of every printed or exported graph page:
// "Source: file oven.ghf    Printed 2026-03-01 14:05".
QString IdentificationLine(const graph::TfrmGraph& window, const QDateTime& printedAt);

}  // namespace kr820::print
