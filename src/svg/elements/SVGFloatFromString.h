// How the element attributes read a plain number: the leading number of the
// text (blanks, sign, digits, fraction, exponent), 0 when none leads, taken
// in single precision and widened, so "10px" is 10 and "50%" is 50. Values
// beyond single precision stop at its largest finite value, which keeps
// infinities out of paths and transforms.
#pragma once

#include <string_view>

namespace svg {

double SVGFloatFromString(std::string_view text);
// The clamp above, for numbers read elsewhere.
double SVGFloatClamped(double value);

}  // namespace svg
