// The first line of text of an HTML document, as a screenshot shows a web
// view without rendering HTML: tags dropped (block tags end lines), the head,
// scripts and styles skipped, the common entities decoded, blanks collapsed;
// empty when there is none.
#pragma once

#include <string>
#include <string_view>

namespace uikit {

std::string firstLineOfHTMLText(std::string_view html);

}  // namespace uikit
