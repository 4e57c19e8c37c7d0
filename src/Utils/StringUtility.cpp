#include "Utils/StringUtility.h"

#include "foundation/Crypto.h"
#include "foundation/StringUtils.h"

namespace StringUtility {

const std::string& emptyString() {
    static const std::string empty;
    return empty;
}

bool isNilOrEmpty(const foundation::Value& value) {
    if (value.isNothing()) return true;
    if (auto s = value.string()) return s->empty();
    // Collections answer by their element count, like a text by its length.
    if (value.isArray() || value.isDictionary()) return value.count() == 0;
    return false;
}

bool isNilOrEmpty(std::string_view text) { return text.empty(); }

std::string getAsciiString(std::string_view text) { return foundation::StringUtils::toASCIILossy(text); }

bool doesStringBeginWithLetter(std::string_view text) { return foundation::StringUtils::beginsWithLetter(text); }

std::string getSectionCharConvertedToAscii(std::string_view text, bool skipAsciiConversion) {
    // A lone ASCII character is its own first character once uppercased and
    // converted, whatever letters follow it ("Müller"): the conversions of
    // the whole text are needed only when the first character is not one.
    if (foundation::StringUtils::beginsWithLoneASCII(text)) {
        const char c = text[0];
        if (c >= 'a' && c <= 'z') return std::string(1, static_cast<char>(c - 'a' + 'A'));
        if (c >= 'A' && c <= 'Z') return std::string(1, c);
        return "#";
    }
    std::string upper = foundation::StringUtils::uppercase(text);
    if (!skipAsciiConversion) upper = getAsciiString(upper);
    if (!doesStringBeginWithLetter(upper)) return "#";
    return foundation::StringUtils::substring16(upper, 0, 1);
}

std::string getHashed(std::string_view text) {
    auto nul = text.find('\0');
    if (nul != std::string_view::npos) text = text.substr(0, nul);
    return foundation::Crypto::sha256Hex(text);
}

}  // namespace StringUtility
