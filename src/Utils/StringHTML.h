// HTML fragments as plain text and plain text as HTML: for screens that show
// text written as HTML, and for text that goes into a web view. Texts are
// UTF-8, worked in UTF-16 code units. White space here is blank, tab, line
// feed, carriage return, U+0085, U+000C, U+2028 and U+2029; line breaks are
// the same without blank and tab.
#pragma once

#include <string>
#include <string_view>

namespace StringHTML {

// Tags dropped (a closing tag of a block element leaves one blank), comments
// dropped with their content, each white-space run one blank, never a blank
// added at the start or the end; then the character references decoded.
std::string stringByConvertingHTMLToPlainText(std::string_view text);
std::string stringByDecodingHTMLEntities(std::string_view text);
// Every character outside ASCII escaped.
std::string stringByEncodingHTMLEntities(std::string_view text);
// With isUnicode only the special characters are escaped; without, as above.
std::string stringByEncodingHTMLEntities(std::string_view text, bool isUnicode);
// A carriage return with a line feed makes one "<br />", any other line
// break one each.
std::string stringWithNewLinesAsBRs(std::string_view text);
// Each white-space run one blank; none at the start or the end.
std::string stringByRemovingNewLinesAndWhitespace(std::string_view text);
// Each http or https URL not already an attribute value (preceded by `="`)
// wrapped as <a href="URL" class="linkified">URL</a>; a trailing dot, comma
// or colon stays outside.
std::string stringByLinkifyingURLs(std::string_view text);
// Text without "<" comes back unchanged. Otherwise the a, span, strong and
// em tags (without attributes) are removed, every other tag is replaced by a
// blank, and the white space collapsed.
std::string stringByStrippingTags(std::string_view text);

}  // namespace StringHTML
