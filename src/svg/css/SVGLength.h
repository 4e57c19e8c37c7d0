// An SVG length: one CSS primitive value answered in pixels or as a plain
// number. Absolute units reach pixels through the screen density, which is
// taken once per process from the device model and copied into every length
// made from text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "svg/css/CSSPrimitiveValue.h"

namespace svg {

// The SVG DOM's length unit codes.
enum SVGLengthType : int32_t {
    SVG_LENGTHTYPE_UNKNOWN = 0,
    SVG_LENGTHTYPE_NUMBER = 1,
    SVG_LENGTHTYPE_PERCENTAGE = 2,
    SVG_LENGTHTYPE_EMS = 3,
    SVG_LENGTHTYPE_EXS = 4,
    SVG_LENGTHTYPE_PX = 5,
    SVG_LENGTHTYPE_CM = 6,
    SVG_LENGTHTYPE_MM = 7,
    SVG_LENGTHTYPE_IN = 8,
    SVG_LENGTHTYPE_PT = 9,
    SVG_LENGTHTYPE_PC = 10,
};

class SVGLength {
public:
    // A length without value answers 0 for everything.
    explicit SVGLength(std::shared_ptr<CSSPrimitiveValue> value);

    // The text read as a primitive value carrying the device's pixels per inch.
    static std::shared_ptr<SVGLength> svgLengthFromNSString(std::string_view text);
    static std::shared_ptr<SVGLength> svgLengthZero();

    const std::shared_ptr<CSSPrimitiveValue>& internalCSSPrimitiveValue() const { return value_; }

    // The number in its own unit.
    float value() const;
    // 0 for percentages, ems and exs, which need a context the library lacks.
    float pixelsValue() const;
    // The pixels of a length that may be missing: 0 without one.
    static double pixelsOf(const std::shared_ptr<SVGLength>& length);
    // A plain number as itself, a percentage as a fraction, anything else 0.
    float numberValue() const;
    SVGLengthType unitType() const;

    // Declared by the SVG DOM and kept as set; nothing in the library reads
    // them, and value() stays the number read from the text.
    float valueInSpecifiedUnits() const { return valueInSpecifiedUnits_; }
    void setValueInSpecifiedUnits(float value) { valueInSpecifiedUnits_ = value; }
    const std::string& valueAsString() const;
    void setValueAsString(std::string text);

    // Inert parts of the SVG DOM interface.
    void newValueSpecifiedUnits(SVGLengthType /*unitType*/, float /*valueInSpecifiedUnits*/) {}
    void convertToSpecifiedUnits(SVGLengthType /*unitType*/) {}

    // The density of the current device model, looked up each call: 163 or
    // 326 for phones and pods by generation, 132 or 264 for tablets, 132 with
    // a warning on a workstation ("x86_64"), 0 for anything unknown.
    static float pixelsPerInchForCurrentDevice();

private:
    std::shared_ptr<CSSPrimitiveValue> value_;
    float valueInSpecifiedUnits_ = 0;
    // Null until set: a text holds thousands of lengths that never get one.
    std::unique_ptr<std::string> valueAsString_;
};

}  // namespace svg
