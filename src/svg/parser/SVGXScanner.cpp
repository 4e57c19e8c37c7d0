// The scanner's reads. Numbers are matched by hand and converted with
// std::from_chars, which knows no locale; magnitudes beyond single precision
// stop at its largest finite value, and those too small for it are zero.
#include "svg/parser/SVGXScanner.h"

#include "svg/elements/SVGFloatFromString.h"

#include <algorithm>
#include <charconv>
#include <limits>

namespace svg {

namespace {

bool isSkipped(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The decimal order of magnitude of an unsigned number in the scanner's form,
// from its digits and exponent, for the numbers even double precision cannot
// hold: a positive order overflowed, any other underflowed.
bool overflowed(std::string_view number) {
    size_t exponentAt = number.find_first_of("eE");
    std::string_view mantissa = number.substr(0, exponentAt);
    long order = 0;
    size_t point = mantissa.find('.');
    std::string_view integer = mantissa.substr(0, point);
    size_t firstSignificant = integer.find_first_not_of('0');
    if (firstSignificant != std::string_view::npos) {
        order = long(integer.size() - firstSignificant);
    } else if (point != std::string_view::npos) {
        std::string_view fraction = mantissa.substr(point + 1);
        size_t nonZero = fraction.find_first_not_of('0');
        if (nonZero == std::string_view::npos) return false;
        order = -long(nonZero);
    }
    if (exponentAt != std::string_view::npos) {
        std::string_view exponent = number.substr(exponentAt + 1);
        bool negative = !exponent.empty() && exponent[0] == '-';
        if (!exponent.empty() && (exponent[0] == '-' || exponent[0] == '+')) exponent.remove_prefix(1);
        long value = 0;
        for (char c : exponent) value = std::min(value * 10 + (c - '0'), 100000L);
        order += negative ? -value : value;
    }
    return order > 0;
}

// An unsigned number in single precision, clamped to its finite range.
float readMagnitude(std::string_view number) {
    double value = 0;
    auto [end, error] = std::from_chars(number.data(), number.data() + number.size(), value);
    (void)end;
    if (error == std::errc::result_out_of_range) value = overflowed(number) ? std::numeric_limits<double>::max() : 0;
    return float(SVGFloatClamped(value));
}

}  // namespace

void SVGXScanner::skipWhitespace() {
    while (position_ < text_.size() && isSkipped(text_[position_])) ++position_;
}

bool SVGXScanner::isAtEnd() const {
    for (size_t i = position_; i < text_.size(); ++i) {
        if (!isSkipped(text_[i])) return false;
    }
    return true;
}

std::string_view SVGXScanner::scanCharactersFromSet(std::string_view set) {
    size_t start = position_;
    skipWhitespace();
    size_t end = position_;
    while (end < text_.size() && set.find(text_[end]) != std::string_view::npos) ++end;
    if (end == position_) {
        position_ = start;
        return {};
    }
    std::string_view run(text_.data() + position_, end - position_);
    position_ = end;
    return run;
}

std::string_view SVGXScanner::scanUpToCharactersFromSet(std::string_view set) {
    size_t start = position_;
    skipWhitespace();
    size_t end = position_;
    while (end < text_.size() && set.find(text_[end]) == std::string_view::npos) ++end;
    if (end == position_) {
        position_ = start;
        return {};
    }
    std::string_view run(text_.data() + position_, end - position_);
    position_ = end;
    return run;
}

bool SVGXScanner::scanString(std::string_view literal) {
    size_t start = position_;
    skipWhitespace();
    if (std::string_view(text_).substr(position_, literal.size()) == literal && !literal.empty()) {
        position_ += literal.size();
        return true;
    }
    position_ = start;
    return false;
}

std::optional<float> SVGXScanner::scanFloat() {
    size_t start = position_;
    skipWhitespace();
    size_t i = position_;
    bool negative = false;
    if (i < text_.size() && (text_[i] == '+' || text_[i] == '-')) negative = text_[i++] == '-';
    size_t mantissa = i;
    size_t digits = 0;
    while (i < text_.size() && isDigit(text_[i])) ++i, ++digits;
    if (i < text_.size() && text_[i] == '.') {
        ++i;
        while (i < text_.size() && isDigit(text_[i])) ++i, ++digits;
    }
    if (digits == 0) {
        position_ = start;
        return std::nullopt;
    }
    if (i < text_.size() && (text_[i] == 'e' || text_[i] == 'E')) {
        size_t e = i + 1;
        if (e < text_.size() && (text_[e] == '+' || text_[e] == '-')) ++e;
        size_t exponentDigits = e;
        while (e < text_.size() && isDigit(text_[e])) ++e;
        if (e > exponentDigits) i = e;
    }
    std::string_view number(text_.data() + mantissa, i - mantissa);
    position_ = i;
    float value = readMagnitude(number);
    return negative ? -value : value;
}

}  // namespace svg
