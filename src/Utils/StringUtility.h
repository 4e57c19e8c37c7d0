// Null-safe and list-oriented text operations used by every screen and by the
// mapping of people and organisations into the store (section letters).
#pragma once

#include <string>
#include <string_view>

#include "foundation/Value.h"

namespace StringUtility {

const std::string& emptyString();
// YES for absent, the null marker and an empty text; a single blank is not empty.
bool isNilOrEmpty(const foundation::Value& value);
bool isNilOrEmpty(std::string_view text);
// The letter an indexed list files the text under: upper-cased, made ASCII
// unless `skipAsciiConversion`, then its first character when that is a
// letter, else "#".
std::string getSectionCharConvertedToAscii(std::string_view text, bool skipAsciiConversion);
std::string getAsciiString(std::string_view text);
bool doesStringBeginWithLetter(std::string_view text);
// SHA-256 of the UTF-8 bytes up to the first zero byte, 64 lower-case hex digits.
std::string getHashed(std::string_view text);

}  // namespace StringUtility
