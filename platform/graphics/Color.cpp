// Colour construction and the conversion to device RGB used for drawing.
#include "graphics/Color.h"

#include <algorithm>
#include <cmath>

namespace graphics {

Color::Color(ColorSpace space, std::vector<double> components) : space_(space), components_(std::move(components)) {
    size_t n = space_.numberOfComponents();
    if (components_.size() <= n) {
        components_.resize(n, 0.0);
        components_.push_back(1.0);
    } else {
        components_.resize(n + 1);
    }
}

Color Color::rgb(double red, double green, double blue, double alpha) {
    return Color(ColorSpace::deviceRGB(), {red, green, blue, alpha});
}

Color Color::gray(double white, double alpha) { return Color(ColorSpace::deviceGray(), {white, alpha}); }

Color Color::cmyk(double cyan, double magenta, double yellow, double black, double alpha) {
    return Color(ColorSpace::deviceCMYK(), {cyan, magenta, yellow, black, alpha});
}

Color Color::withAlpha(double alpha) const {
    Color c = *this;
    c.components_.back() = alpha;
    return c;
}

Color::RGBA Color::rgba() const {
    auto clamp = [](double v) { return std::isnan(v) ? 0.0 : std::clamp(v, 0.0, 1.0); };
    const std::vector<double>& c = components_;
    switch (space_.model()) {
        case ColorSpace::Model::Monochrome: return {clamp(c[0]), clamp(c[0]), clamp(c[0]), clamp(c[1])};
        case ColorSpace::Model::RGB: return {clamp(c[0]), clamp(c[1]), clamp(c[2]), clamp(c[3])};
        case ColorSpace::Model::CMYK: {
            double k = 1 - clamp(c[3]);
            return {(1 - clamp(c[0])) * k, (1 - clamp(c[1])) * k, (1 - clamp(c[2])) * k, clamp(c[4])};
        }
    }
    return {0, 0, 0, 1};
}

}  // namespace graphics
