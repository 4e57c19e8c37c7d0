// One CSS value: a number with a unit, or a string. The text is read once when
// it is set; conversions between units are in single precision, and absolute
// units reach pixels through the pixels per inch the value carries (1 unless
// the maker sets the device's, as SVG lengths do).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "svg/css/CSSValue.h"

namespace svg {

// The DOM's unit codes.
enum CSSPrimitiveType : int32_t {
    CSS_UNKNOWN = 0,
    CSS_NUMBER = 1,
    CSS_PERCENTAGE = 2,
    CSS_EMS = 3,
    CSS_EXS = 4,
    CSS_PX = 5,
    CSS_CM = 6,
    CSS_MM = 7,
    CSS_IN = 8,
    CSS_PT = 9,
    CSS_PC = 10,
    CSS_DEG = 11,
    CSS_RAD = 12,
    CSS_GRAD = 13,
    CSS_MS = 14,
    CSS_S = 15,
    CSS_HZ = 16,
    CSS_KHZ = 17,
    CSS_DIMENSION = 18,
    CSS_STRING = 19,
};

class CSSPrimitiveValue : public CSSValue {
public:
    CSSPrimitiveValue() : CSSValue(CSS_PRIMITIVE_VALUE) {}

    // Stores the text and reads it: a unit suffix (tested at the end, case
    // sensitive) gives that unit and the leading number; else a leading
    // number gives a plain number; else the whole text is a string.
    void setCssText(const std::string& text) override;

    CSSPrimitiveType primitiveType() const { return primitiveType_; }
    void setFloatValue(CSSPrimitiveType unitType, float value);
    void setStringValue(CSSPrimitiveType stringType, std::string value);
    // The value in the requested unit; 0 where no conversion exists.
    float getFloatValue(CSSPrimitiveType unitType) const;
    std::optional<std::string> getStringValue() const { return internalString(); }
    // The number as read, in its own unit.
    float internalValue() const { return internalValue_; }
    std::optional<std::string> internalString() const;

    // Counters, rectangles and colours are never read as such: always null.
    std::shared_ptr<foundation::Object> getCounterValue() const { return nullptr; }
    std::shared_ptr<foundation::Object> getRectValue() const { return nullptr; }
    std::shared_ptr<foundation::Object> getRGBColorValue() const { return nullptr; }

    float pixelsPerInch() const { return pixelsPerInch_; }
    void setPixelsPerInch(float pixelsPerInch) { pixelsPerInch_ = pixelsPerInch; }

    std::string className() const override { return "CSSPrimitiveValue"; }

private:
    CSSPrimitiveType primitiveType_ = CSS_UNKNOWN;
    float internalValue_ = 0;
    // The string of a string value; an empty one (every missing length's) is
    // kept as the flag alone, as a plan holds thousands.
    bool hasString_ = false;
    std::unique_ptr<std::string> internalString_;
    float pixelsPerInch_ = 1.0f;
};

}  // namespace svg
