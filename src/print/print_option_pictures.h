// SPDX-License-Identifier: MIT
#pragma once

#include <QPixmap>

namespace kr820::print {

// The print option dialog's two pictures, drawn rather than stored: a small chart with two
// curves, and a page of text lines.
QPixmap GraphPrintPicture();
QPixmap TextPrintPicture();

}  // namespace kr820::print
