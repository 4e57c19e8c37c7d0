// The text of an HTML document as the web view sets it without a browser:
// tags dropped, block tags ending lines and `<br>` breaking one (two in a row
// leave a blank line), the head, title, scripts, styles and comments skipped,
// the common and numeric character references decoded, blanks collapsed.
// Of the styles, what text takes from its elements' `style` attributes and
// from its tags: colour, font size and family, bold, and the block's
// alignment; a link without a colour of its own is blue. No layout, tables,
// images or style sheets.
#pragma once

#include <string>
#include <string_view>

#include "uikit/NSAttributedString.h"

namespace uikit {

// The document's text, its lines separated by "\n": each run with its font
// (16 points of the system font unless styled) and its colour where one is
// styled, each line with its block's paragraph style.
NSAttributedString attributedStringFromHTML(std::string_view html);

// The document's first line that holds any text; empty when there is none.
std::string firstLineOfHTMLText(std::string_view html);

}  // namespace uikit
