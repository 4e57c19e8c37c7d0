// A colour handed out as a pattern, for drawing code that asks a pattern for
// its colour. A pattern made from an image holds the image, which a colour
// of ours cannot carry: its colour is clear and the image is the tile that
// drawing code repeats.
#pragma once

#include <memory>

#include "foundation/Object.h"
#include "graphics/Bitmap.h"
#include "graphics/Color.h"

namespace svg {

class SVGXPattern : public foundation::Object {
public:
    explicit SVGXPattern(graphics::Color color) : color_(std::move(color)) {}

    static std::shared_ptr<SVGXPattern> patternWithUIColor(const graphics::Color& color) {
        return std::make_shared<SVGXPattern>(color);
    }

    static std::shared_ptr<SVGXPattern> patternWithImage(graphics::BitmapPtr image) {
        auto pattern = std::make_shared<SVGXPattern>(graphics::Color::clear());
        pattern->patternImage_ = std::move(image);
        return pattern;
    }

    const graphics::Color& color() const { return color_; }
    // The tile of a pattern made from an image; null otherwise.
    const graphics::BitmapPtr& patternImage() const { return patternImage_; }
    void setColor(graphics::Color color) { color_ = std::move(color); }
    const graphics::Color& CGColor() const { return color_; }

    std::string className() const override { return "SVGXPattern"; }

private:
    graphics::Color color_;
    graphics::BitmapPtr patternImage_;
};

}  // namespace svg
