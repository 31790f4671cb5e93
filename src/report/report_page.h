// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

#include "core/report/report_document.h"

class QPagedPaintDevice;

namespace kr820::report {

// Paints the report on `device` (a PDF writer or a printer): one page, more only when the
// alarm list does not fit. False when the painter could not start on the device.
bool PaintReport(QPagedPaintDevice& device, const core::ReportDocument& document);

// The report as the bytes of a PDF on A4. Needs a GUI application (the fonts): nothing, with
// `error` set, otherwise.
std::optional<QByteArray> ReportPdf(const core::ReportDocument& document, QString* error);

}  // namespace kr820::report
