// Leading-number reading in single precision.
#include "svg/elements/SVGFloatFromString.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "foundation/Value.h"

namespace svg {

double SVGFloatClamped(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kMax = std::numeric_limits<float>::max();
    return static_cast<float>(std::clamp(value, -kMax, kMax));
}

double SVGFloatFromString(std::string_view text) {
    return SVGFloatClamped(foundation::NumberParsing::doubleValue(text));
}

}  // namespace svg
