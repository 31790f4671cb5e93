// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QFileDialog;

namespace kr820::ui {

// The extension a name without one gets under `nameFilter`: its first pattern's, in the case
// the pattern is written ("TXT" for "TXT file(...) (*.TXT *.txt)"); empty when it has none.
QString SuffixOfNameFilter(const QString& nameFilter);

// Every file dialog of the program: the descriptions shown once, without the patterns Qt needs
// repeated after them, and on saving the extension of whichever type the user picks.
void PrepareFileDialog(QFileDialog& dialog);

}  // namespace kr820::ui
