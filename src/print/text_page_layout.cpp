// SPDX-License-Identifier: MIT
#include "print/text_page_layout.h"

#include <algorithm>

namespace kr820::print {

TextPageLayout::TextPageLayout(int pageHeight, int headingLines)
    : m_headingLines(std::max(0, headingLines)),
      m_linesPerPage(std::max(1, pageHeight / kLineHeight / 10 * 10 - m_headingLines)) {}

}  // namespace kr820::print
