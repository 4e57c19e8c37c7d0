// Character references in HTML text: escaping characters as named entities
// (or as decimal references) from a table sorted by code unit, and replacing
// named, decimal and hexadecimal references by their characters. Texts are
// UTF-8; the work is done in UTF-16 code units, as HTML references count, so
// a character beyond U+FFFF escapes as its two surrogate halves.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace StringHTMLEntityAdditions {

// One entry of an entity table: the escape sequence ("&amp;") and the one
// UTF-16 code unit it stands for. Sixteen bytes an entry, so a table's size
// in bytes is its entry count × 16.
struct HTMLEscapeMap {
    const char* escapeSequence;
    char16_t uchar;
};

// The entities of the three XHTML 1.0 sets (Latin-1, special characters,
// symbols), sorted by code unit: 253 entries, 4048 bytes.
extern const HTMLEscapeMap gAsciiHTMLEscapeMap[253];
inline constexpr size_t kAsciiHTMLEscapeMapSize = 253 * sizeof(HTMLEscapeMap);
// The special-characters set alone (quot, amp, apos, lt, gt and the
// typographic marks), sorted by code unit: 33 entries, 528 bytes.
extern const HTMLEscapeMap gUnicodeHTMLEscapeMap[33];
inline constexpr size_t kUnicodeHTMLEscapeMapSize = 33 * sizeof(HTMLEscapeMap);

// Each code unit found in the table (size in bytes, sorted by code unit)
// becomes its sequence; with escapingUnicode, any other unit of 128 or more
// becomes "&#%d;"; the rest is copied. Empty text comes back unchanged.
std::string qva_stringByEscapingHTMLUsingTable(std::string_view text, const HTMLEscapeMap* table, size_t ofSize,
                                               bool escapingUnicode);
// Only the 33 special characters replaced; other characters stay.
std::string qva_stringByEscapingForHTML(std::string_view text);
// Every character outside ASCII escaped: the result is pure ASCII.
std::string qva_stringByEscapingForAsciiHTML(std::string_view text);
// Named references of the full table, "&#NNN;" and "&#xHH;" of 1 to 65534
// replaced, working backwards from the last "&"; a reference is 4 to 10
// characters from "&" to ";". Anything else is left as written. Text without
// "&" comes back unchanged.
std::string qva_stringByUnescapingFromHTML(std::string_view text);

}  // namespace StringHTMLEntityAdditions
