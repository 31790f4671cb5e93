// SPDX-License-Identifier: MIT
#pragma once

#include <QRectF>
#include <QStringList>

class QCPPainter;
class QCustomPlot;
class QPrinter;

namespace kr820::print {

// Draws `plot` as it is on screen into `target` on the painter's device: scaled to fit with its
// proportions kept, centred across and at the top. The device should count in the plot's own
// pixels per inch (or the texts come out at another size than the lines).
void PaintPlot(QCustomPlot& plot, QCPPainter& painter, const QRectF& target);

// One print job holding `header` (the first line bold) at the top of the page and the plot below
// it, scaled to the rest of the page. False when the job could not start or end (no printer, a
// file that cannot be written).
bool PrintPlot(QCustomPlot& plot, QPrinter& printer, const QStringList& header);

}  // namespace kr820::print
