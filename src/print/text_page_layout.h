// SPDX-License-Identifier: MIT
#pragma once

namespace kr820::print {

// Where the lines of a printed point list go, in the printer's device units: one line every 100
// units, whole tens of lines to a page, each line at the left edge. A page under 1000 units
// would hold no whole ten; it then takes one line, so that every line is still printed.
class TextPageLayout {
public:
    static constexpr int kLineHeight = 100;
    static constexpr int kLeft = 1;

    explicit TextPageLayout(int pageHeight);

    int LinesPerPage() const { return m_linesPerPage; }
    // True for the first line of every page after the first: a new page comes before it.
    bool StartsNewPage(int line) const { return line > 0 && line % m_linesPerPage == 0; }
    // The top of the line on its page.
    int Top(int line) const { return (line % m_linesPerPage) * kLineHeight + kLineHeight; }
    // The page, from 0, that the line is printed on.
    int Page(int line) const { return line / m_linesPerPage; }

private:
    int m_linesPerPage;
};

}  // namespace kr820::print
