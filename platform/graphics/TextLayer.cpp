// Text layer drawing: lines come from the shared text measurer, so what is
// drawn breaks exactly where measured heights said it would.
#include "graphics/TextLayer.h"

#include "graphics/DrawingContext.h"
#include "graphics/FontRegistry.h"
#include "graphics/TextMeasurer.h"

namespace graphics {

std::string_view textAlignmentName(TextAlignment alignment) {
    switch (alignment) {
        case TextAlignment::Natural: return "natural";
        case TextAlignment::Left: return "left";
        case TextAlignment::Right: return "right";
        case TextAlignment::Center: return "center";
        case TextAlignment::Justified: return "justified";
    }
    return "natural";
}

std::string_view textTruncationName(TextTruncation truncation) {
    switch (truncation) {
        case TextTruncation::None: return "none";
        case TextTruncation::Start: return "start";
        case TextTruncation::End: return "end";
        case TextTruncation::Middle: return "middle";
    }
    return "none";
}

TextLayer::TextLayer()
    : font_(FontRegistry::shared().fontWithName("Helvetica", 36).value_or(Font("Helvetica", 36, FontMetrics{}))) {}

void TextLayer::drawInContext(DrawingContext& context) const {
    if (string_.empty() || !foregroundColor_) return;
    Font font = font_.withSize(fontSize_);
    Rect box = bounds().standardized();
    double limit = wrapped_ ? box.width() : TextMeasurer::kNoLimit;
    double baseline = box.minY() + font.ascender();
    for (const TextLine& line : TextMeasurer::lines(font, string_, limit)) {
        double x = box.minX();
        if (alignmentMode_ == TextAlignment::Center) x += (box.width() - line.width) / 2;
        if (alignmentMode_ == TextAlignment::Right) x = box.maxX() - line.width;
        if (!line.text.empty()) context.drawText(line.text, font, {x, baseline}, *foregroundColor_);
        baseline += font.lineHeight();
    }
}

}  // namespace graphics
