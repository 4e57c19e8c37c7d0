// A layer that draws a string in a font, one line per measured line, from the
// top of its bounds. Without wrapping every paragraph stays on one line;
// with it, lines break at the bounds width, as the text measurer breaks them.
// The font's own size is ignored in favour of fontSize. Defaults: Helvetica
// at 36 points in opaque white, natural (left) alignment, no wrapping, no
// truncation.
#pragma once

#include "graphics/Font.h"
#include "graphics/Layer.h"

namespace graphics {

enum class TextAlignment { Natural, Left, Right, Center, Justified };

// The platform's names: "natural", "left", "right", "center", "justified".
std::string_view textAlignmentName(TextAlignment alignment);

// How a line too long for the bounds is cut; kept as a value, since the
// measurer draws whole lines.
enum class TextTruncation { None, Start, End, Middle };

// The platform's names: "none", "start", "end", "middle".
std::string_view textTruncationName(TextTruncation truncation);

class TextLayer : public Layer {
public:
    TextLayer();

    static std::shared_ptr<TextLayer> layer() { return std::make_shared<TextLayer>(); }
    std::string className() const override { return "CATextLayer"; }
    LayerPtr makeLayerOfSameClass() const override { return layer(); }

    const std::string& string() const { return string_; }
    void setString(std::string string) { string_ = std::move(string); }
    const Font& font() const { return font_; }
    void setFont(Font font) { font_ = std::move(font); }
    double fontSize() const { return fontSize_; }
    void setFontSize(double size) { fontSize_ = size; }
    const std::optional<Color>& foregroundColor() const { return foregroundColor_; }
    void setForegroundColor(std::optional<Color> color) { foregroundColor_ = std::move(color); }
    TextAlignment alignmentMode() const { return alignmentMode_; }
    void setAlignmentMode(TextAlignment alignment) { alignmentMode_ = alignment; }
    bool isWrapped() const { return wrapped_; }
    void setWrapped(bool wrapped) { wrapped_ = wrapped; }
    TextTruncation truncationMode() const { return truncationMode_; }
    void setTruncationMode(TextTruncation truncation) { truncationMode_ = truncation; }

    void drawInContext(DrawingContext& context) const override;

private:
    std::string string_;
    Font font_;
    double fontSize_ = 36;
    std::optional<Color> foregroundColor_ = Color::white();
    TextAlignment alignmentMode_ = TextAlignment::Natural;
    bool wrapped_ = false;
    TextTruncation truncationMode_ = TextTruncation::None;
};

}  // namespace graphics
