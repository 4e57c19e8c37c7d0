// A colour handed out as a pattern, for drawing code that asks a pattern for
// its colour.
#pragma once

#include <memory>

#include "foundation/Object.h"
#include "graphics/Color.h"

namespace svg {

class SVGXPattern : public foundation::Object {
public:
    explicit SVGXPattern(graphics::Color color) : color_(std::move(color)) {}

    static std::shared_ptr<SVGXPattern> patternWithUIColor(const graphics::Color& color) {
        return std::make_shared<SVGXPattern>(color);
    }

    const graphics::Color& color() const { return color_; }
    void setColor(graphics::Color color) { color_ = std::move(color); }
    const graphics::Color& CGColor() const { return color_; }

    std::string className() const override { return "SVGXPattern"; }

private:
    graphics::Color color_;
};

}  // namespace svg
