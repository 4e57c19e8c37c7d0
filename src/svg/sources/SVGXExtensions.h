// The SVG white space: exactly space, tab, carriage return and line feed,
// which the path-data reader skips between numbers. Unicode white space
// beyond these is not SVG white space.
#pragma once

#include <string_view>

namespace svg::SVGXExtensions {

// Usable with find_first_of / find_first_not_of; constant for the process.
constexpr std::string_view SVGWhitespaceCharacterSet() { return " \t\r\n"; }

}  // namespace svg::SVGXExtensions
