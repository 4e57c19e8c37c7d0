// A colour ramp for gradient drawing: colours at locations from 0 to 1. The
// locations always match the colours one for one; when none are given, or
// their count differs from the colours', the colours are spread evenly from
// 0 to 1 (a single colour sits at 0).
#pragma once

#include <vector>

#include "graphics/Color.h"

namespace graphics {

class Gradient {
public:
    Gradient(ColorSpace space, std::vector<Color> colors, std::vector<double> locations = {});
    // Components given flat, the space's count plus alpha for each colour.
    static Gradient withComponents(ColorSpace space, const std::vector<double>& components,
                                   std::vector<double> locations);

    const ColorSpace& colorSpace() const { return space_; }
    const std::vector<Color>& colors() const { return colors_; }
    const std::vector<double>& locations() const { return locations_; }

    bool operator==(const Gradient&) const = default;

private:
    ColorSpace space_;
    std::vector<Color> colors_;
    std::vector<double> locations_;
};

// Whether a gradient also paints before its start and past its end.
enum GradientDrawingOptions : unsigned {
    kGradientDrawsBeforeStartLocation = 1u << 0,
    kGradientDrawsAfterEndLocation = 1u << 1,
};

}  // namespace graphics
