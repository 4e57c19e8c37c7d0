// The colour parser. In the "rgb(" form each component is the leading integer
// of its token and keeps its low 8 bits (300 reads as 44), a percentage reads
// as its number on the 0-255 scale, and a component whose end never came is 0.
// Tokens grow as needed, so a long component cannot overrun anything.
#include "svg/elements/SVGRGBAColor.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "foundation/Value.h"

namespace svg {

namespace {

constexpr SVGRGBAColor kOpaqueBlack{0, 0, 0, 255};

uint8_t lowByte(std::string_view token) {
    return static_cast<uint8_t>(static_cast<uint32_t>(foundation::NumberParsing::intValue(token)) & 0xFF);
}

SVGRGBAColor fromRGBFunction(std::string_view text) {
    SVGRGBAColor color = kOpaqueBlack;
    enum { Name, Red, Green, Blue } state = Name;
    std::string token;
    for (char c : text) {
        if (c == ' ' || c == '\t' || c == '\n') continue;
        if (state == Name && c == '(' && token == "rgb") {
            state = Red;
            token.clear();
        } else if (state == Red && c == ',') {
            color.r = lowByte(token);
            state = Green;
            token.clear();
        } else if (state == Green && c == ',') {
            color.g = lowByte(token);
            state = Blue;
            token.clear();
        } else if (state == Blue && c == ')') {
            color.b = lowByte(token);
            break;
        } else {
            token += c;
        }
    }
    return color;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The group read as hexadecimal up to its first non-hex character.
uint8_t hexGroup(std::string_view group) {
    unsigned value = 0;
    for (char c : group) {
        int digit = hexDigit(c);
        if (digit < 0) break;
        value = value * 16 + unsigned(digit);
    }
    return static_cast<uint8_t>(value);
}

SVGRGBAColor fromHex(std::string_view digits) {
    SVGRGBAColor color = kOpaqueBlack;
    if (digits.size() == 3) {
        color.r = static_cast<uint8_t>(hexGroup(digits.substr(0, 1)) * 17);
        color.g = static_cast<uint8_t>(hexGroup(digits.substr(1, 1)) * 17);
        color.b = static_cast<uint8_t>(hexGroup(digits.substr(2, 1)) * 17);
    } else if (digits.size() == 6) {
        color.r = hexGroup(digits.substr(0, 2));
        color.g = hexGroup(digits.substr(2, 2));
        color.b = hexGroup(digits.substr(4, 2));
    }
    return color;
}

}  // namespace

SVGRGBAColor SVGRGBAColorFromString(const char* text) {
    if (!text) return kOpaqueBlack;
    std::string_view view(text, std::strlen(text));
    if (view.starts_with("rgb(")) return fromRGBFunction(view);
    if (view.starts_with("#")) return fromHex(view.substr(1));
    return SVGRGBAColorForKeyword(view);
}

uint8_t SVGAlphaByteFromOpacity(double opacity) {
    double scaled = std::trunc(opacity * 255.0);
    if (!std::isfinite(scaled)) return 0;
    return uint8_t(int64_t(std::fmod(scaled, 256.0)) & 0xff);
}

graphics::Color CGColorFromSVGRGBAColor(SVGRGBAColor color) {
    return graphics::Color::rgb(color.r / 255.0f, color.g / 255.0f, color.b / 255.0f, color.a / 255.0f);
}

}  // namespace svg
