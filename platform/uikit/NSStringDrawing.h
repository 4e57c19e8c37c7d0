// Measuring and drawing of plain and attributed text, all through the one
// graphics TextMeasurer, so a height computed here is the same on every run.
// Without "uses line fragment origin" the text is set on one line, as the
// platform does; with it, lines wrap at the width. Lines are as high as the
// font's ascender plus descender, plus its leading with "uses font leading".
// "Truncates last visible line" keeps only the lines that fit a finite
// height (at least one). Attributed text is set paragraph by paragraph, each
// in the largest font of its runs; text without a font is set in Helvetica 12,
// the platform's default for attributed text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "graphics/Color.h"
#include "graphics/Geometry.h"
#include "uikit/NSAttributedString.h"

namespace graphics {
class DrawingContext;
}

namespace uikit {

enum NSStringDrawingOptions : unsigned {
    NSStringDrawingUsesLineFragmentOrigin = 1,
    NSStringDrawingUsesFontLeading = 2,
    NSStringDrawingTruncatesLastVisibleLine = 32,
};

namespace NSStringDrawing {

// One line of laid-out text: its text, width and font.
struct Line {
    std::string text;
    double width = 0;
    UIFontPtr font;
    double height = 0;
};

// The font attributed text takes where no run sets one.
UIFontPtr defaultFont();

// The lines of the text at the width (no limit when not positive), at most
// `maximumLines` of them (0: any number).
std::vector<Line> layOut(std::string_view text, const UIFontPtr& font, double width, size_t maximumLines = 0,
                         bool fontLeading = false);
std::vector<Line> layOut(const NSAttributedString& text, double width, size_t maximumLines = 0,
                         bool fontLeading = false);
// The size of laid-out lines: the widest line by the sum of the heights.
graphics::Size sizeOfLines(const std::vector<Line>& lines);

// -[NSString boundingRectWithSize:options:attributes:context:]; the origin is
// zero. A font missing from the attributes is the default font.
graphics::Rect boundingRectWithSize(std::string_view text, graphics::Size size, unsigned options,
                                    const TextAttributes& attributes);
// -[NSAttributedString boundingRectWithSize:options:context:].
graphics::Rect boundingRectWithSize(const NSAttributedString& text, graphics::Size size, unsigned options);
// -[NSString sizeWithAttributes:]: one line.
graphics::Size sizeWithAttributes(std::string_view text, const TextAttributes& attributes);

// Draws laid-out lines into the rectangle, top down, each placed by the
// alignment, struck through when asked; lines below the rectangle are not
// drawn.
void drawLines(graphics::DrawingContext& context, const std::vector<Line>& lines, const graphics::Rect& rect,
               NSTextAlignment alignment, const graphics::Color& color, bool strikethrough = false);

// Draws lines laid out from the attributed text, each run in its own colour
// (else `color`; always `color` without `runColours`) and struck through as
// its run says. A line sits by the paragraph style of the run it starts in,
// else by `alignment`; a line that is not a piece of the text (a cut one)
// takes the first run's look.
void drawAttributedLines(graphics::DrawingContext& context, const NSAttributedString& text,
                         const std::vector<Line>& lines, const graphics::Rect& rect, NSTextAlignment alignment,
                         const graphics::Color& color, bool runColours = true);

}  // namespace NSStringDrawing
}  // namespace uikit
