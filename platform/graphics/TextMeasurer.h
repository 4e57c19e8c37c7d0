// The one text measurer: how much room a text needs in a font, with word
// wrapping at a maximum width. It works only from the font's own metrics and
// a fixed table of advance widths, so the same text measures the same on
// every run and every machine. Lines break at "\n", "\r\n" and "\r"; a
// trailing break adds no line. Within a line, text wraps at spaces; a word
// wider than the whole width is broken between characters. Trailing spaces do
// not count toward a line's width. Sizes are not rounded.
#pragma once

#include <limits>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/Font.h"
#include "graphics/Geometry.h"

namespace graphics {

struct TextLine {
    std::string text;
    double width = 0;
};

class TextMeasurer {
public:
    static constexpr double kNoLimit = std::numeric_limits<double>::infinity();

    // A maximum width that is not positive or not a number means no limit.
    // Empty text needs no room: (0, 0).
    static Size measure(const Font& font, std::string_view text, double maxWidth = kNoLimit);
    // The lines the text falls into, for drawing.
    static std::vector<TextLine> lines(const Font& font, std::string_view text, double maxWidth = kNoLimit);
    // The advance of the text set on one line; line breaks have no width.
    static double width(const Font& font, std::string_view text);
};

}  // namespace graphics
