// A forward-only reader over a piece of path data. Like the platform's text
// scanner, every scan first skips white space (blanks, tabs, line ends, form
// feeds), and the reader counts as at its end when only white space is left.
// A scan that finds nothing leaves the position where it was, so a caller
// that loops only while scans succeed always finishes.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace svg {

class SVGXScanner {
public:
    explicit SVGXScanner(std::string text) : text_(std::move(text)) {}

    const std::string& string() const { return text_; }
    size_t scanLocation() const { return position_; }
    // Positions past the end stop at the end.
    void setScanLocation(size_t position) { position_ = position < text_.size() ? position : text_.size(); }
    bool isAtEnd() const;

    // The longest run of characters from the set; empty when none stands.
    std::string_view scanCharactersFromSet(std::string_view set);
    // Everything before the next character of the set (or the end); empty
    // when a character of the set, or nothing, follows the white space.
    std::string_view scanUpToCharactersFromSet(std::string_view set);
    bool scanString(std::string_view literal);
    // A number: optional sign, digits with an optional point and fraction
    // (at least one digit in all), optional exponent. It ends where that form
    // ends, so "10-5" is two numbers. Read in single precision.
    std::optional<float> scanFloat();

private:
    void skipWhitespace();

    std::string text_;
    size_t position_ = 0;
};

}  // namespace svg
