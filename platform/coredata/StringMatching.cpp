// Folding and matching: case and diacritic folding of non-ASCII text through
// foundation::StringUtils, regular expressions through ICU. ASCII text takes a
// fast path, which is most of what the store compares.
#include "coredata/StringMatching.h"

#include <unicode/regex.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <vector>

#include "coredata/Predicate.h"
#include "foundation/StringUtils.h"

namespace coredata::text {

namespace {

bool isAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

std::vector<char32_t> codePoints(std::string_view s) {
    std::vector<char32_t> out;
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(s.data(), int32_t(s.size())));
    for (int32_t i = 0; i < u.length();) {
        UChar32 c = u.char32At(i);
        out.push_back(char32_t(c));
        i += U16_LENGTH(c);
    }
    return out;
}

unsigned foundationOptions(unsigned options) {
    unsigned out = 0;
    if (options & ComparisonOption::CaseInsensitive) out |= foundation::StringUtils::CaseInsensitive;
    if (options & ComparisonOption::DiacriticInsensitive) out |= foundation::StringUtils::DiacriticInsensitive;
    return out;
}

}  // namespace

std::string fold(std::string_view s, unsigned options) {
    if (options == 0) return std::string(s);
    if (isAscii(s)) {
        std::string out(s);
        if (options & ComparisonOption::CaseInsensitive)
            for (auto& c : out)
                if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        return out;
    }
    return foundation::StringUtils::fold(s, foundationOptions(options));
}

// An empty needle is found nowhere, as the platform's string search has it.
bool contains(std::string_view haystack, std::string_view needle, unsigned options) {
    if (needle.empty()) return false;
    if (options == 0) return haystack.find(needle) != std::string_view::npos;
    if (isAscii(haystack) && isAscii(needle)) {
        // Compared in place: a search runs this over every row of a table.
        if (!(options & ComparisonOption::CaseInsensitive)) return haystack.find(needle) != std::string_view::npos;
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        for (size_t start = 0; start + needle.size() <= haystack.size(); ++start) {
            size_t i = 0;
            while (i < needle.size() && lower(haystack[start + i]) == lower(needle[i])) ++i;
            if (i == needle.size()) return true;
        }
        return false;
    }
    return foundation::StringUtils::contains(haystack, needle, foundationOptions(options));
}

bool beginsWith(std::string_view s, std::string_view prefix, unsigned options) {
    if (prefix.empty()) return false;
    if (options == 0) return s.substr(0, prefix.size()) == prefix;
    std::string a = fold(s, options), b = fold(prefix, options);
    return a.compare(0, b.size(), b) == 0;
}

bool endsWith(std::string_view s, std::string_view suffix, unsigned options) {
    if (suffix.empty()) return false;
    std::string a = fold(s, options), b = fold(suffix, options);
    return a.size() >= b.size() && a.compare(a.size() - b.size(), b.size(), b) == 0;
}

bool like(std::string_view s, std::string_view pattern, unsigned options) {
    std::vector<char32_t> str = codePoints(fold(s, options));
    std::vector<char32_t> pat = codePoints(fold(pattern, options));
    // Iterative glob with single-star backtracking.
    size_t si = 0, pi = 0, starP = std::string::npos, starS = 0;
    while (si < str.size()) {
        if (pi < pat.size() && (pat[pi] == U'?' || pat[pi] == str[si])) {
            ++si;
            ++pi;
        } else if (pi < pat.size() && pat[pi] == U'*') {
            starP = pi++;
            starS = si;
        } else if (starP != std::string::npos) {
            pi = starP + 1;
            si = ++starS;
        } else {
            return false;
        }
    }
    while (pi < pat.size() && pat[pi] == U'*') ++pi;
    return pi == pat.size();
}

struct CompiledRegex {
    std::unique_ptr<icu::RegexPattern> pattern;
};

std::shared_ptr<const CompiledRegex> compileRegex(std::string_view pattern, unsigned options) {
    UErrorCode status = U_ZERO_ERROR;
    UParseError parseError;
    uint32_t flags = (options & ComparisonOption::CaseInsensitive) ? UREGEX_CASE_INSENSITIVE : 0;
    icu::UnicodeString p = icu::UnicodeString::fromUTF8(icu::StringPiece(pattern.data(), int32_t(pattern.size())));
    auto compiled = std::make_shared<CompiledRegex>();
    compiled->pattern.reset(icu::RegexPattern::compile(p, flags, parseError, status));
    if (U_FAILURE(status) || !compiled->pattern) return nullptr;
    return compiled;
}

bool regexMatches(const CompiledRegex& regex, std::string_view subject) {
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString u = icu::UnicodeString::fromUTF8(icu::StringPiece(subject.data(), int32_t(subject.size())));
    std::unique_ptr<icu::RegexMatcher> matcher(regex.pattern->matcher(u, status));
    if (U_FAILURE(status) || !matcher) return false;
    bool result = matcher->matches(status);
    return U_SUCCESS(status) && result;
}

}  // namespace coredata::text
