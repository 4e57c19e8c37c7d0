// A colour: a colour space and its components, alpha last. The component list
// always has the space's count plus one; a list handed in too short is filled
// with 0 and an opaque alpha, one too long is cut. Components are kept as
// given; drawing clamps them to 0...1. Where the platform has "no colour"
// (nil), interfaces take std::optional<Color>.
#pragma once

#include <vector>

#include "graphics/ColorSpace.h"

namespace graphics {

class Color {
public:
    Color(ColorSpace space, std::vector<double> components);

    static Color rgb(double red, double green, double blue, double alpha = 1);
    static Color gray(double white, double alpha = 1);
    static Color cmyk(double cyan, double magenta, double yellow, double black, double alpha = 1);
    static Color black() { return gray(0); }
    static Color white() { return gray(1); }
    static Color clear() { return gray(0, 0); }

    const ColorSpace& colorSpace() const { return space_; }
    // Alpha included.
    const std::vector<double>& components() const { return components_; }
    size_t numberOfComponents() const { return components_.size(); }
    double alpha() const { return components_.back(); }
    Color withAlpha(double alpha) const;

    struct RGBA {
        double red, green, blue, alpha;
        bool operator==(const RGBA&) const = default;
    };
    // Device RGB with every component clamped to 0...1.
    RGBA rgba() const;

    bool operator==(const Color&) const = default;

private:
    ColorSpace space_;
    std::vector<double> components_;
};

}  // namespace graphics
