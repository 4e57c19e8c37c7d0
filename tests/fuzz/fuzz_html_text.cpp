// Any bytes read as HTML give the first line of its text without a sanitizer
// report: a line no longer than the input, with no tag brackets the input did
// not spell as entities or text, without leading, trailing or doubled blanks;
// and its styled text, each run with a font.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "uikit/HTMLText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view html(reinterpret_cast<const char*>(data), size);
    std::string line = uikit::firstLineOfHTMLText(html);
    if (line.size() > html.size()) std::abort();
    if (!line.empty() && (line.front() == ' ' || line.back() == ' ')) std::abort();
    if (line.find("  ") != std::string::npos) std::abort();
    if (line.find_first_of("\n\r\t") != std::string::npos) std::abort();
    // What is left of a line is stable: read again as HTML-free text (with
    // no markup characters) it comes back the same.
    if (line.find_first_of("<>&") == std::string::npos && uikit::firstLineOfHTMLText(line) != line) std::abort();
    const uikit::NSAttributedString styled = uikit::attributedStringFromHTML(html);
    for (size_t at = 0; at < styled.length();) {
        uikit::NSRange run;
        if (!styled.attributesAtIndex(at, &run).font || run.length == 0) std::abort();
        at = run.location + run.length;
    }
    return 0;
}
