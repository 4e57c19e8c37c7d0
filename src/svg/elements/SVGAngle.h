// The SVG DOM angle: stored values only; unit conversion is not supported.
#pragma once

#include <cstdint>
#include <string>

namespace svg {

class SVGAngle {
public:
    int32_t unitType() const { return unitType_; }
    float value() const { return value_; }
    void setValue(float value) { value_ = value; }
    float valueInSpecifiedUnits() const { return valueInSpecifiedUnits_; }
    void setValueInSpecifiedUnits(float value) { valueInSpecifiedUnits_ = value; }
    const std::string& valueAsString() const { return valueAsString_; }
    void setValueAsString(std::string text) { valueAsString_ = std::move(text); }

    void newValueSpecifiedUnits(int32_t /*unitType*/, float /*valueInSpecifiedUnits*/) {}
    void convertToSpecifiedUnits(int32_t /*unitType*/) {}

private:
    int32_t unitType_ = 0;
    float value_ = 0;
    float valueInSpecifiedUnits_ = 0;
    std::string valueAsString_;
};

}  // namespace svg
