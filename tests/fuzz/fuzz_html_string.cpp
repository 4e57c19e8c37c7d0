// Any text through the HTML text conversions without a sanitizer report:
// escaping then unescaping gives the text back (but for U+FFFF, which no
// reference may stand for), escaping for ASCII HTML leaves only ASCII, the
// white-space collapse leaves single blanks between words and none at the
// ends, and no line break survives the conversion to break tags.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "Utils/StringHTML.h"
#include "Utils/StringHTMLEntityAdditions.h"
#include "foundation/StringUtils.h"

namespace {

bool isWhiteSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == 0x85 || c == 0x0C || c == 0x2028 ||
           c == 0x2029;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    namespace E = StringHTMLEntityAdditions;
    const std::string text =
        foundation::StringUtils::repairUTF8(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::u16string units = foundation::StringUtils::toUTF16(text);

    const std::string ascii = E::qva_stringByEscapingForAsciiHTML(text);
    for (char c : ascii) {
        if (static_cast<unsigned char>(c) >= 128) std::abort();
    }
    if (units.find(u'\uffff') == std::u16string::npos && E::qva_stringByUnescapingFromHTML(ascii) != text)
        std::abort();
    if (E::qva_stringByUnescapingFromHTML(E::qva_stringByEscapingForHTML(text)) != text) std::abort();

    const std::u16string collapsed =
        foundation::StringUtils::toUTF16(StringHTML::stringByRemovingNewLinesAndWhitespace(text));
    if (!collapsed.empty() && (collapsed.front() == u' ' || collapsed.back() == u' ')) std::abort();
    for (size_t i = 0; i < collapsed.size(); ++i) {
        if (isWhiteSpace(collapsed[i]) && (collapsed[i] != u' ' || (i > 0 && collapsed[i - 1] == u' ')))
            std::abort();
    }

    for (char16_t c : foundation::StringUtils::toUTF16(StringHTML::stringWithNewLinesAsBRs(text))) {
        if (c != u' ' && c != u'\t' && isWhiteSpace(c)) std::abort();
    }

    (void)StringHTML::stringByConvertingHTMLToPlainText(text);
    (void)StringHTML::stringByStrippingTags(text);
    (void)StringHTML::stringByLinkifyingURLs(text);
    return 0;
}
