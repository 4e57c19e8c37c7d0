// Text operations with the platform's semantics on our UTF-8 strings. Lengths
// and positions the app counts are UTF-16 code units, as the platform counts
// them ("a😀" is 3 long). Every function accepts any bytes: ill-formed UTF-8
// is read as one U+FFFD per maximal ill-formed subsequence, consistently
// across lengths, positions and conversions, and never fails.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "foundation/Locale.h"

namespace foundation::StringUtils {

// --- UTF-8 and UTF-16 -------------------------------------------------------

bool isValidUTF8(std::string_view s);
// Each ill-formed subsequence replaced by U+FFFD; valid text comes back unchanged.
std::string repairUTF8(std::string_view s);
std::u16string toUTF16(std::string_view s);
// Unpaired surrogates become U+FFFD.
std::string fromUTF16(std::u16string_view s);

size_t length16(std::string_view s);
// The UTF-16 position of byte offset `byteOffset`. An offset inside a
// character counts that whole character; offsets past the end clamp.
size_t utf16Position(std::string_view s, size_t byteOffset);
// The byte offset of UTF-16 position `position`. A position inside a surrogate
// pair counts the whole pair; positions past the end clamp.
size_t utf8Offset(std::string_view s, size_t position);
// The UTF-16 range [location, location + length), clamped to the string. A
// range that cuts a surrogate pair keeps the half as U+FFFD.
std::string substring16(std::string_view s, size_t location, size_t length);

// --- White space ------------------------------------------------------------

// Without leading and trailing Unicode white space and line breaks.
std::string trim(std::string_view s);
// Without leading and trailing blanks and tabs (line breaks stay).
std::string trimWhitespace(std::string_view s);

// --- Case, folding, ASCII ---------------------------------------------------

std::string uppercase(std::string_view s);
std::string lowercase(std::string_view s);
// Transliterated to Latin and stripped to ASCII ("élan" → "elan", "Ærø" →
// "AEro"); what has no ASCII form becomes "?".
std::string toASCIILossy(std::string_view s);

// Without options, text still matches its canonical equivalents ("é" written
// as one character or as "e" and a combining accent).
enum CompareOptions : unsigned {
    CaseInsensitive = 1,
    DiacriticInsensitive = 128,
};

// A comparison key: canonically decomposed, case-folded when asked, with
// combining marks dropped when asked. Two strings match under `options` when
// their keys are equal; one contains the other when its key does. Not for display.
std::string fold(std::string_view s, unsigned options);

struct Range {
    size_t location = 0;  // UTF-16 units
    size_t length = 0;
    bool operator==(const Range&) const = default;
};
// The first occurrence of `needle` in `haystack` under `options`, as a UTF-16
// range of `haystack`; nothing for an empty needle or no match. A match never
// splits a character: "e" is not found in "é" unless diacritics are ignored.
std::optional<Range> find(std::string_view haystack, std::string_view needle, unsigned options = 0);
bool contains(std::string_view haystack, std::string_view needle, unsigned options = 0);

// -1, 0 or 1: case-folded, then by UTF-16 units.
int caseInsensitiveCompare(std::string_view a, std::string_view b);
// -1, 0 or 1 by the locale's collation, ignoring case.
int localizedCaseInsensitiveCompare(std::string_view a, std::string_view b, const Locale& locale = Locale::current());
// -1, 0 or 1 as lists sort names for people: by the locale's collation, digits
// by numeric value ("2" before "10"), case only breaking ties.
int localizedStandardCompare(std::string_view a, std::string_view b, const Locale& locale = Locale::current());
// Bytes whose plain comparison orders texts as the two comparisons above
// do (equal keys for texts they find equal); none without the locale's
// collation. Sorting many texts makes one key each instead of collating
// both texts of every comparison.
std::optional<std::string> localizedStandardSortKey(std::string_view s, const Locale& locale = Locale::current());
std::optional<std::string> localizedCaseInsensitiveSortKey(std::string_view s,
                                                           const Locale& locale = Locale::current());

// Whether the first user-perceived character holds a letter or a combining mark.
bool beginsWithLetter(std::string_view s);
// Whether the first user-perceived character is one ASCII character alone
// (nothing after it combines with it).
bool beginsWithLoneASCII(std::string_view s);

// --- Splitting and joining --------------------------------------------------

// An empty separator or one that never occurs gives the whole string.
std::vector<std::string> split(std::string_view s, std::string_view separator);
std::string join(const std::vector<std::string>& parts, std::string_view separator);
// Every occurrence of `target`, left to right; an empty target changes nothing.
std::string replace(std::string_view s, std::string_view target, std::string_view replacement);
bool hasPrefix(std::string_view s, std::string_view prefix);
bool hasSuffix(std::string_view s, std::string_view suffix);

}  // namespace foundation::StringUtils
