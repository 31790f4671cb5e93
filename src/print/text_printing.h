// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>
#include <functional>

class QPagedPaintDevice;

namespace kr820::print {

class TextPageLayout;

// Where a text print's lines are written: a printer's pages, or a test's record.
class TextLineSink {
public:
    virtual ~TextLineSink() = default;
    // False when the device could not start the page; printing stops there.
    virtual bool NewPage() = 0;
    virtual void DrawLine(int left, int top, const QString& text) = 0;
};

// Line i of the list, from 0.
using LineSource = std::function<QString(int)>;

// Writes lines 0 .. count - 1 page by page as `layout` places them. False when a new page could
// not be started; the lines before it were written.
bool WriteTextLines(TextLineSink& sink, const TextPageLayout& layout, int count,
                    const LineSource& line);

// The point list's font: a fixed-pitch face at 8 points, so that the list's columns line up.
QFont TextPrintFont();

enum class TextPrintResult { Printed, NotStarted, Interrupted };

// One print job on `device` (a printer, or a PDF writer): the font set, the lines written with
// the layout of the device's page height, the job ended. An empty list starts and ends a job
// with no line in it.
TextPrintResult PrintTextLines(QPagedPaintDevice& device, int count, const LineSource& line);

}  // namespace kr820::print
