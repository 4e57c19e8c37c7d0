// Text operations of predicates, over UTF-8: case and diacritic folding,
// substring tests, LIKE wildcards (* any run, ? one character) and regular
// expressions (ICU syntax, whole-string match). Internal to the object store.
#pragma once

#include <memory>
#include <string>
#include <string_view>

namespace coredata::text {

// `s` with ComparisonOption folding applied (unchanged for options 0).
std::string fold(std::string_view s, unsigned options);

bool contains(std::string_view haystack, std::string_view needle, unsigned options);
bool beginsWith(std::string_view s, std::string_view prefix, unsigned options);
bool endsWith(std::string_view s, std::string_view suffix, unsigned options);
bool like(std::string_view s, std::string_view pattern, unsigned options);

struct CompiledRegex;
// Null when the pattern does not compile.
std::shared_ptr<const CompiledRegex> compileRegex(std::string_view pattern, unsigned options);
bool regexMatches(const CompiledRegex& regex, std::string_view subject);

}  // namespace coredata::text
