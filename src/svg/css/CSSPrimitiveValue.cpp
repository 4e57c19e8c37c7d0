// Reading a primitive value's text and converting between units. The
// arithmetic stays in single precision on purpose: lengths compare with what
// the floor-plan tools computed the same way.
#include "svg/css/CSSPrimitiveValue.h"

#include <array>
#include <string_view>
#include <utility>

#include "foundation/StringUtils.h"
#include "foundation/Value.h"

namespace svg {

namespace {

// Longer suffixes of a shared ending come first, so "grad" is not read as "rad".
constexpr std::array<std::pair<std::string_view, CSSPrimitiveType>, 16> kSuffixes{{
    {"%", CSS_PERCENTAGE},
    {"em", CSS_EMS},
    {"ex", CSS_EXS},
    {"px", CSS_PX},
    {"cm", CSS_CM},
    {"mm", CSS_MM},
    {"in", CSS_IN},
    {"pt", CSS_PT},
    {"pc", CSS_PC},
    {"deg", CSS_DEG},
    {"grad", CSS_GRAD},
    {"rad", CSS_RAD},
    {"ms", CSS_MS},
    {"s", CSS_S},
    {"khz", CSS_KHZ},
    {"hz", CSS_HZ},
}};

constexpr float kInchesPerCentimetre = 0.39370078f;

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Whether a decimal number (sign, digits, fraction, exponent) starts the text
// after white space and line ends.
bool startsWithNumber(std::string_view text) {
    size_t i = text.find_first_not_of(" \t\r\n\f\v");
    if (i == std::string_view::npos) return false;
    if (text[i] == '+' || text[i] == '-') ++i;
    if (i < text.size() && isDigit(text[i])) return true;
    return i + 1 < text.size() && text[i] == '.' && isDigit(text[i + 1]);
}

float leadingNumber(std::string_view text) { return static_cast<float>(foundation::NumberParsing::doubleValue(text)); }

}  // namespace

void CSSPrimitiveValue::setCssText(const std::string& text) {
    CSSValue::setCssText(text);
    if (text.empty()) {
        internalValue_ = 0;
        hasString_ = true;
        internalString_.reset();
        primitiveType_ = CSS_UNKNOWN;
        return;
    }
    for (const auto& [suffix, unit] : kSuffixes) {
        if (foundation::StringUtils::hasSuffix(text, suffix)) {
            setFloatValue(unit, leadingNumber(text));
            return;
        }
    }
    if (startsWithNumber(text)) {
        setFloatValue(CSS_NUMBER, leadingNumber(text));
    } else {
        setStringValue(CSS_STRING, text);
    }
}

std::optional<std::string> CSSPrimitiveValue::internalString() const {
    if (!hasString_) return std::nullopt;
    return internalString_ ? *internalString_ : std::string();
}

void CSSPrimitiveValue::setFloatValue(CSSPrimitiveType unitType, float value) {
    primitiveType_ = unitType;
    internalValue_ = value;
    hasString_ = false;
    internalString_.reset();
}

void CSSPrimitiveValue::setStringValue(CSSPrimitiveType stringType, std::string value) {
    primitiveType_ = stringType;
    hasString_ = true;
    internalString_ = value.empty() ? nullptr : std::make_unique<std::string>(std::move(value));
    internalValue_ = 0;
}

float CSSPrimitiveValue::getFloatValue(CSSPrimitiveType unitType) const {
    const float v = internalValue_;
    if (primitiveType_ == unitType) return v;
    float inches;
    switch (primitiveType_) {
        case CSS_NUMBER:
            return unitType == CSS_PX ? v : 0;
        case CSS_PERCENTAGE:
            return unitType == CSS_NUMBER ? v / 100.0f : 0;
        case CSS_CM:
            inches = v * kInchesPerCentimetre;
            break;
        case CSS_MM:
            inches = v * kInchesPerCentimetre / 10.0f;
            break;
        case CSS_IN:
            inches = v;
            break;
        case CSS_PT:
            inches = v / 72.0f;
            break;
        case CSS_PC:
            inches = v * 12.0f / 72.0f;
            break;
        default:
            return 0;  // unknown, relative units, and everything that is not a length
    }
    switch (unitType) {
        case CSS_PX:
            return inches * pixelsPerInch_;
        case CSS_CM:
            return inches / kInchesPerCentimetre;
        case CSS_MM:
            return inches / kInchesPerCentimetre * 10.0f;
        case CSS_IN:
            return inches;
        case CSS_PT:
            return inches * 72.0f;
        case CSS_PC:
            return inches / 12.0f * 72.0f;
        default:
            return 0;
    }
}

}  // namespace svg
