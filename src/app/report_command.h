// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

class QPrinter;
class QWidget;

namespace kr820::core {
struct AlarmSettings;
}
namespace kr820::graph {
class TfrmGraph;
}
namespace kr820::ui {
class Prompter;
}

namespace kr820::app {

// File > Report...: the figures of `window`'s readings (all, or the part its zoom shows), its
// limits preset from `alarms`, saved as a one-page PDF or printed on `printer`. The choices are
// remembered. True when a report was written or printed.
bool ReportOnWindow(QWidget& owner, ui::Prompter& prompter, graph::TfrmGraph& window,
                    const core::AlarmSettings& alarms, QPrinter& printer);

inline const QString kReportPdfFilter = QStringLiteral("PDF document (*.pdf)");
inline const QString kNothingToReportMessage =
    QStringLiteral("The active window holds no readings to report.");

}  // namespace kr820::app
