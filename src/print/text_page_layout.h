// SPDX-License-Identifier: MIT
#pragma once

#include <algorithm>

namespace kr820::print {

// Where the lines of a printed point list go, in the printer's device units: one line every 100
// units, whole tens of lines to a page, each line at the left edge. A page under 1000 units
// would hold no whole ten; it then takes one line, so that every line is still printed. A heading
// of `headingLines` at the top of every page takes its lines from those.
class TextPageLayout {
public:
    static constexpr int kLineHeight = 100;
    static constexpr int kLeft = 1;

    explicit TextPageLayout(int pageHeight, int headingLines = 0);

    int LinesPerPage() const { return m_linesPerPage; }
    int HeadingLines() const { return m_headingLines; }
    // The number of pages `count` lines take.
    int Pages(int count) const {
        return std::max(1, (count + m_linesPerPage - 1) / m_linesPerPage);
    }
    // The top of heading line k.
    static int HeadingTop(int k) { return k * kLineHeight + kLineHeight; }
    // True for the first line of every page after the first: a new page comes before it.
    bool StartsNewPage(int line) const { return line > 0 && line % m_linesPerPage == 0; }
    // The top of the line on its page.
    int Top(int line) const {
        return (m_headingLines + line % m_linesPerPage) * kLineHeight + kLineHeight;
    }
    // The page, from 0, that the line is printed on.
    int Page(int line) const { return line / m_linesPerPage; }

private:
    int m_headingLines;
    int m_linesPerPage;
};

}  // namespace kr820::print
