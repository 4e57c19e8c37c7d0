// The conversions scan UTF-16 code units, so positions agree with the
// character references they decode. The URL pattern is compiled once and
// shared; ICU patterns are immutable and safe to use from any thread.
#include "Utils/StringHTML.h"

#include <unicode/regex.h>
#include <unicode/unistr.h>

#include <algorithm>
#include <array>
#include <memory>
#include <vector>

#include "Utils/StringHTMLEntityAdditions.h"
#include "foundation/StringUtils.h"

namespace StringHTML {

namespace {

using foundation::StringUtils::fromUTF16;
using foundation::StringUtils::toUTF16;

bool isWhiteSpace(char16_t c) {
    switch (c) {
        case u' ': case u'\t': case u'\n': case u'\r': case 0x0085: case 0x000C: case 0x2028: case 0x2029:
            return true;
        default:
            return false;
    }
}

bool isLineBreak(char16_t c) { return c != u' ' && c != u'\t' && isWhiteSpace(c); }

bool isTagNameCharacter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }

// Closing tags of these leave no blank: they sit inside running text.
constexpr std::array<std::u16string_view, 11> kInlineElements = {
    u"a", u"b", u"i", u"q", u"span", u"em", u"strong", u"cite", u"abbr", u"acronym", u"label"};

// Tags that go without a trace when stripping; every other becomes a blank.
constexpr std::array<std::u16string_view, 8> kRemovedTags = {
    u"<a>", u"</a>", u"<span>", u"</span>", u"<strong>", u"</strong>", u"<em>", u"</em>"};

// The index just past the next occurrence of `marker` at or after `from`,
// or the end when there is none.
size_t skipPast(std::u16string_view s, size_t from, std::u16string_view marker) {
    size_t found = s.find(marker, std::min(from, s.size()));
    return found == std::u16string_view::npos ? s.size() : found + marker.size();
}

void replaceAll(std::u16string& s, std::u16string_view target, std::u16string_view replacement) {
    std::u16string out;
    size_t from = 0;
    for (size_t at = s.find(target); at != std::u16string::npos; at = s.find(target, from)) {
        out.append(s, from, at - from);
        out.append(replacement);
        from = at + target.size();
    }
    out.append(s, from);
    s = std::move(out);
}

std::u16string collapsedWhiteSpace(std::u16string_view s) {
    std::u16string out;
    size_t i = 0;
    while (i < s.size()) {
        while (i < s.size() && isWhiteSpace(s[i])) ++i;
        size_t start = i;
        while (i < s.size() && !isWhiteSpace(s[i])) ++i;
        if (i == start) break;
        if (!out.empty()) out.push_back(u' ');
        out.append(s.substr(start, i - start));
    }
    return out;
}

// http and https URLs: not right after `="` (already an attribute value),
// from a word boundary, a host of at least two dotted parts, and a tail that
// does not end in a dot, a comma or a colon.
constexpr char16_t kURLPattern[] =
    u"(?<!=\")\\b((http|https)://[\\w\\-_]+(\\.[\\w\\-_]+)+([\\w\\-.,@?^=%&amp;:/~+#]*[\\w\\-@?^=%&amp;/~+#])?)";

const icu::RegexPattern* urlPattern() {
    static const std::unique_ptr<icu::RegexPattern> pattern = [] {
        UErrorCode status = U_ZERO_ERROR;
        UParseError parseError;
        std::unique_ptr<icu::RegexPattern> compiled(
            icu::RegexPattern::compile(icu::UnicodeString(kURLPattern), 0, parseError, status));
        if (U_FAILURE(status)) compiled.reset();
        return compiled;
    }();
    return pattern.get();
}

}  // namespace

std::string stringByConvertingHTMLToPlainText(std::string_view text) {
    const std::u16string s = toUTF16(text);
    const size_t n = s.size();
    std::u16string out;
    // Blanks wait for the text that follows them, so none is ever added at
    // the end; one asked for while nothing is written yet is dropped.
    size_t pendingBlanks = 0;
    auto blank = [&] {
        if (!out.empty()) ++pendingBlanks;
    };
    size_t i = 0;
    while (i < n) {
        size_t start = i;
        while (i < n && s[i] != u'<' && !isWhiteSpace(s[i])) ++i;
        if (i > start) {
            out.append(pendingBlanks, u' ');
            pendingBlanks = 0;
            out.append(s, start, i - start);
        }
        if (i >= n) break;
        if (s[i] == u'<') {
            ++i;
            if (s.compare(i, 3, u"!--") == 0) {
                i = skipPast(s, i + 3, u"-->");
                continue;
            }
            if (i < n && s[i] == u'/') {
                ++i;
                std::u16string name;
                while (i < n && isTagNameCharacter(s[i])) {
                    char16_t c = s[i++];
                    name.push_back(c <= u'Z' ? static_cast<char16_t>(c + (u'a' - u'A')) : c);
                }
                if (std::find(kInlineElements.begin(), kInlineElements.end(), name) == kInlineElements.end()) blank();
            }
            i = skipPast(s, i, u">");
        } else {
            while (i < n && isWhiteSpace(s[i])) ++i;
            blank();
        }
    }
    return stringByDecodingHTMLEntities(fromUTF16(out));
}

std::string stringByDecodingHTMLEntities(std::string_view text) {
    return StringHTMLEntityAdditions::qva_stringByUnescapingFromHTML(text);
}

std::string stringByEncodingHTMLEntities(std::string_view text) {
    return StringHTMLEntityAdditions::qva_stringByEscapingForAsciiHTML(text);
}

std::string stringByEncodingHTMLEntities(std::string_view text, bool isUnicode) {
    return isUnicode ? StringHTMLEntityAdditions::qva_stringByEscapingForHTML(text)
                     : StringHTMLEntityAdditions::qva_stringByEscapingForAsciiHTML(text);
}

std::string stringWithNewLinesAsBRs(std::string_view text) {
    const std::u16string s = toUTF16(text);
    const size_t n = s.size();
    std::u16string out;
    size_t i = 0;
    while (i < n) {
        size_t start = i;
        while (i < n && !isLineBreak(s[i])) ++i;
        out.append(s, start, i - start);
        if (i >= n) break;
        if (s[i] == u'\r' && i + 1 < n && s[i + 1] == u'\n') {
            out.append(u"<br />");
            i += 2;
            continue;
        }
        while (i < n && isLineBreak(s[i])) {
            out.append(u"<br />");
            ++i;
        }
    }
    return fromUTF16(out);
}

std::string stringByRemovingNewLinesAndWhitespace(std::string_view text) {
    return fromUTF16(collapsedWhiteSpace(toUTF16(text)));
}

std::string stringByLinkifyingURLs(std::string_view text) {
    const icu::RegexPattern* pattern = urlPattern();
    if (!pattern) return std::string(text);
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString input = icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), int32_t(text.size())));
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
    if (U_FAILURE(status)) return std::string(text);
    icu::UnicodeString linked = matcher->replaceAll(u"<a href=\"$1\" class=\"linkified\">$1</a>", status);
    if (U_FAILURE(status)) return std::string(text);
    std::string out;
    linked.toUTF8String(out);
    return out;
}

std::string stringByStrippingTags(std::string_view text) {
    if (text.find('<') == std::string_view::npos) return std::string(text);
    std::u16string s = toUTF16(text);
    // Every distinct tag, attributes included: from "<" up to the next ">".
    std::vector<std::u16string> tags;
    for (size_t from = 0;;) {
        size_t open = s.find(u'<', from);
        if (open == std::u16string::npos) break;
        size_t close = s.find(u'>', open);
        std::u16string tag = s.substr(open, close == std::u16string::npos ? std::u16string::npos : close - open);
        tag.push_back(u'>');
        if (std::find(tags.begin(), tags.end(), tag) == tags.end()) tags.push_back(std::move(tag));
        if (close == std::u16string::npos) break;
        from = close;
    }
    // Longer tags first: one tag may hold a shorter one ("<x<b>" holds "<b>"),
    // which must not be replaced inside it first.
    std::stable_sort(tags.begin(), tags.end(), [](const auto& a, const auto& b) { return a.size() > b.size(); });
    for (const std::u16string& tag : tags) {
        const bool removed = std::find(kRemovedTags.begin(), kRemovedTags.end(), tag) != kRemovedTags.end();
        replaceAll(s, tag, removed ? u"" : u" ");
    }
    return fromUTF16(collapsedWhiteSpace(s));
}

}  // namespace StringHTML
