// SPDX-License-Identifier: MIT
#include "print/text_page_layout.h"

#include <algorithm>

namespace kr820::print {

TextPageLayout::TextPageLayout(int pageHeight)
    : m_linesPerPage(std::max(1, pageHeight / kLineHeight / 10 * 10)) {}

}  // namespace kr820::print
