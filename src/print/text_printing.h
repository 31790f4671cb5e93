// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QString>
#include <QStringList>
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
// The heading of page `page` of `pages`, both from 1; as many lines on every page.
using HeadingSource = std::function<QStringList(int page, int pages)>;

// Writes lines 0 .. count - 1 page by page as `layout` places them, each page under its heading
// when there is one. False when a new page could not be started; the lines before it were
// written.
bool WriteTextLines(TextLineSink& sink, const TextPageLayout& layout, int count,
                    const LineSource& line, const HeadingSource& heading = {});

// What a printed point list says about itself at the top of every page.
struct TextPrintHeading {
    QString Caption;  // the window's
    QString StartTime, SamplingRate, DataNo;
    QString Unit;       // "C" or "F"; empty when the window does not know it
    QString FirstLine;  // the list's first line, which the column names are set over
};

// The heading's lines for page `page` of `pages`: the caption with the page number, the start
// time, rate, number of points and unit, the column names over their columns, and a blank line.
QStringList TextHeadingLines(const TextPrintHeading& heading, int page, int pages);

// The point list's font: a fixed-pitch face at 8 points, so that the list's columns line up.
QFont TextPrintFont();

enum class TextPrintResult { Printed, NotStarted, Interrupted };

// One print job on `device` (a printer, or a PDF writer): the font set, the lines written with
// the layout of the device's page height under the heading when one is given, the job ended. An
// empty list starts and ends a job with no line in it.
TextPrintResult PrintTextLines(QPagedPaintDevice& device, int count, const LineSource& line,
                               const TextPrintHeading* heading = nullptr);

}  // namespace kr820::print
