// SPDX-License-Identifier: MIT
#pragma once

#include <QRectF>

class QCPPainter;
class QCustomPlot;
class QPrinter;

namespace kr820::print {

// Draws `plot` as it is on screen into `target` on the painter's device: scaled to fit with its
// proportions kept, centred across and at the top. The device should count in the plot's own
// pixels per inch (or the texts come out at another size than the lines).
void PaintPlot(QCustomPlot& plot, QCPPainter& painter, const QRectF& target);

// One print job holding the plot, scaled to the printer's page. False when the job could not
// start or end (no printer, a file that cannot be written).
bool PrintPlot(QCustomPlot& plot, QPrinter& printer);

}  // namespace kr820::print
