// Gradient ramps: locations are resolved once at construction, so drawing
// code never meets a mismatched list.
#include "graphics/Gradient.h"

namespace graphics {

Gradient::Gradient(ColorSpace space, std::vector<Color> colors, std::vector<double> locations)
    : space_(space), colors_(std::move(colors)), locations_(std::move(locations)) {
    if (locations_.size() != colors_.size()) {
        locations_.clear();
        size_t n = colors_.size();
        for (size_t i = 0; i < n; ++i) locations_.push_back(n == 1 ? 0.0 : double(i) / double(n - 1));
    }
}

Gradient Gradient::withComponents(ColorSpace space, const std::vector<double>& components,
                                  std::vector<double> locations) {
    size_t per = space.numberOfComponents() + 1;
    std::vector<Color> colors;
    for (size_t i = 0; i + per <= components.size(); i += per) {
        colors.emplace_back(space, std::vector<double>(components.begin() + i, components.begin() + i + per));
    }
    return Gradient(space, std::move(colors), std::move(locations));
}

}  // namespace graphics
